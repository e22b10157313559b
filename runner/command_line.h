#pragma once
// Splits a command line into the program to start and its arguments, the way
// a single command-line string names its program on the desktop platform the
// runner stands in for: the first token is the program, and an unquoted path
// with blanks is resolved by trying the blank-separated prefixes in turn.

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

namespace quorvel {

struct ResolvedCommand {
    QString program;        // absolute path of an existing executable file
    QStringList arguments;  // without the program itself
    QString rest;           // the unsplit text after the program token
};

// Splits argument text at blanks and tabs. Double quotes group and are
// removed; backslashes are literal except before a double quote, where 2n
// backslashes give n and the quote groups, and 2n+1 give n and a literal quote.
QStringList SplitArguments(const QString& text);

// Finds the program named by the start of `line`: a quoted first token as is,
// otherwise the shortest blank-separated prefix that names an executable file.
// A name without a directory is looked up in `searchDirs` in order. Empty when
// no prefix names a program.
std::optional<ResolvedCommand> ResolveCommandLine(const QString& line,
                                                  const QStringList& searchDirs);

// The directories where a program named without a directory is looked for:
// the caller's application directory, its working directory, then PATH.
QStringList DefaultSearchDirs();

}  // namespace quorvel
