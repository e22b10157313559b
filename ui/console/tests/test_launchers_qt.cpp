#include <QtCore/QCoreApplication>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/console/runner_launchers.h"
#include "ui/console/tests/test_launchers.h"

namespace quorvel::test_support {

std::filesystem::path BuiltAppDir() { return QUORVEL_APP_DIR; }

std::filesystem::path SlowModelProgram() { return QUORVEL_SLOW_MODEL; }

int RunCommandLine(const std::string& line) {
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

project::LauncherFactory TestLaunchers(const std::filesystem::path& appDir) {
    return RunnerLauncherFactory(appDir);
}

}  // namespace quorvel::test_support

// The runner plugin waits by processing Qt events, which needs the application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
