#include "runner/spawn_command.h"

#include "runner/command_line.h"
#include "runner/executable_lookup.h"

using namespace Qt::StringLiterals;

namespace quorvel {
namespace {

QString ShellQuote(const QString& text) {
    return u'\'' + QString(text).replace(u"'"_s, u"'\\''"_s) + u'\'';
}

}  // namespace

QString TerminalScript(const QString& cmdline, const QStringList& searchDirs) {
    const std::optional<ResolvedCommand> resolved = ResolveCommandLine(cmdline, searchDirs);
    const QString command = resolved ? ShellQuote(resolved->program) + resolved->rest : cmdline;
    // A line break rather than ";" keeps the shell alive after a line that
    // ends in "&" or a comment.
    return command + u"\nexec sh"_s;
}

QString FindTerminalEmulator(const QStringList& searchDirs) {
    for (const QString& name : {u"x-terminal-emulator"_s, u"xterm"_s}) {
        const QString found = LocateProgram(name, searchDirs);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

std::optional<SpawnCommand> FormSpawnCommand(const QString& cmdline, bool autoClose,
                                             const QStringList& searchDirs) {
    if (autoClose) {
        std::optional<ResolvedCommand> resolved = ResolveCommandLine(cmdline, searchDirs);
        if (!resolved) {
            return std::nullopt;
        }
        return SpawnCommand{resolved->program, resolved->arguments};
    }
    const QString terminal = FindTerminalEmulator(searchDirs);
    if (terminal.isEmpty() || cmdline.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return SpawnCommand{terminal, {u"-e"_s, u"sh"_s, u"-c"_s, TerminalScript(cmdline, searchDirs)}};
}

}  // namespace quorvel
