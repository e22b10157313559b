#include "runner/command_line.h"

#include "runner/command_rules.h"
#include "runner/executable_lookup.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>

namespace quorvel {

QStringList SplitArguments(const QString& text) {
    QStringList arguments;
    for (const std::u16string& argument : SplitArgumentText(text.toStdU16String())) {
        arguments << QString::fromStdU16String(argument);
    }
    return arguments;
}

std::optional<ResolvedCommand> ResolveCommandLine(const QString& line,
                                                  const QStringList& searchDirs) {
    for (const ProgramCandidate& candidate : ProgramCandidates(line.toStdU16String())) {
        const QString program =
            LocateProgram(QString::fromStdU16String(candidate.program), searchDirs);
        if (!program.isEmpty()) {
            const QString rest = QString::fromStdU16String(candidate.rest);
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
