// quorvel-batch on Linux.

#include <QtCore/QCoreApplication>
#include <QtCore/QStringList>

#include <iostream>

#include "ui/console/batch_tool.h"
#include "ui/console/runner_launchers.h"
#include "ui/console/tool_output.h"

int main(int argc, char* argv[]) {
    // The runner plugin waits for its programs by processing Qt events.
    QCoreApplication app(argc, argv);
    const QStringList given = QCoreApplication::arguments();
    std::vector<std::u16string> arguments;
    for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdU16String());
    const std::filesystem::path appDir(QCoreApplication::applicationDirPath().toStdU16String());
    quorvel::ToolOutput output;
    return quorvel::RunBatchTool(arguments, appDir, quorvel::RunnerLauncherFactory(appDir),
                                 output.stream(), std::cerr);
}
