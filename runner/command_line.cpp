#include "runner/command_line.h"

#include "runner/executable_lookup.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>

namespace quorvel {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

QStringList SplitArguments(const QString& text) {
    QStringList arguments;
    QString current;
    bool inQuotes = false;
    bool haveArgument = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            qsizetype count = 0;
            while (i < size && text[i] == u'\\') {
                ++count;
                ++i;
            }
            if (i < size && text[i] == u'"') {
                current += QString(count / 2, u'\\');
                if (count % 2 == 1) {
                    current += u'"';
                } else {
                    inQuotes = !inQuotes;
                }
            } else {
                current += QString(count, u'\\');
                --i;
            }
            haveArgument = true;
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            haveArgument = true;
        } else if (IsBlank(c) && !inQuotes) {
            if (haveArgument) {
                arguments << current;
                current.clear();
                haveArgument = false;
            }
        } else {
            current += c;
            haveArgument = true;
        }
    }
    if (haveArgument) {
        arguments << current;
    }
    return arguments;
}

std::optional<ResolvedCommand> ResolveCommandLine(const QString& line,
                                                  const QStringList& searchDirs) {
    qsizetype start = 0;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    if (start == line.size()) {
        return std::nullopt;
    }

    if (line[start] == u'"') {
        const qsizetype close = line.indexOf(u'"', start + 1);
        const qsizetype end = close < 0 ? line.size() : close;
        const QString program = LocateProgram(line.mid(start + 1, end - start - 1), searchDirs);
        if (program.isEmpty()) {
            return std::nullopt;
        }
        const QString rest = close < 0 ? QString() : line.mid(close + 1);
        return ResolvedCommand{program, SplitArguments(rest), rest};
    }

    // An unquoted token may be a path with blanks: try each prefix that ends
    // before a blank (or at the end of the line), shortest first.
    for (qsizetype end = start + 1; end <= line.size(); ++end) {
        const bool atBoundary = end == line.size() || IsBlank(line[end]);
        if (!atBoundary || IsBlank(line[end - 1])) {
            continue;
        }
        const QString program = LocateProgram(line.mid(start, end - start), searchDirs);
        if (!program.isEmpty()) {
            const QString rest = line.mid(end);
            return ResolvedCommand{program, SplitArguments(rest), rest};
        }
    }
    return std::nullopt;
}

QStringList DefaultSearchDirs() {
    QStringList dirs;
    if (QCoreApplication::instance() != nullptr) {
        dirs << QCoreApplication::applicationDirPath();
    }
    dirs << QDir::currentPath();
    dirs << qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
    return dirs;
}

}  // namespace quorvel
