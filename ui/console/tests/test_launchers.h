#pragma once
// The runner component as the tests reach it from their own program, which
// lies outside the application directory.

#include <filesystem>
#include <string>

#include "calc/project/batch/batch_run.h"

namespace quorvel::test_support {

// The build's application directory.
std::filesystem::path BuiltAppDir();

// The stand-in model that takes a minute (slow_model.cpp).
std::filesystem::path SlowModelProgram();

// Runs a command line through the system's shell and returns the program's
// exit code.
int RunCommandLine(const std::string& line);

// Launchers through the runner component in `appDir` (which holds a copy of
// the build's runner and, on Windows, of quorvel-batch.exe for its manifest),
// usable on the test's main thread and on a batch's worker threads.
project::LauncherFactory TestLaunchers(const std::filesystem::path& appDir);

}  // namespace quorvel::test_support
