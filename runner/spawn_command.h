#pragma once
// Turns the runner's command line into the program and arguments to start.

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

namespace quorvel {

struct SpawnCommand {
    QString program;
    QStringList arguments;
};

// With `autoClose` the command line itself, found by the first-token rule.
// Without it, a terminal emulator window running the line in a shell that
// stays open afterwards (the stand-in for the platform's "cmd /k "). Empty
// when the program, or a terminal emulator, cannot be found.
std::optional<SpawnCommand> FormSpawnCommand(const QString& cmdline, bool autoClose,
                                             const QStringList& searchDirs);

// The shell script a terminal window runs for `cmdline`: the line for the
// shell to carry out (its program quoted when the first-token rule finds it,
// so a directory with blanks survives), then an interactive shell.
QString TerminalScript(const QString& cmdline, const QStringList& searchDirs);

// The terminal emulator to use: the desktop's choice, else xterm.
QString FindTerminalEmulator(const QStringList& searchDirs);

}  // namespace quorvel
