#pragma once
// Launchers for a batch's worker threads through the platform's runner
// component beside the program: the Qt plugin on Linux, Tolvane.dll on
// Windows.

#include <filesystem>

#include "calc/project/batch/batch_run.h"

namespace quorvel {

// A factory of launchers for the runner component in `appDir`. Each worker
// thread gets one of its own, set up for that thread (an event dispatcher
// for Qt, a single-threaded COM apartment on Windows). On Linux a
// QCoreApplication must exist while they run.
project::LauncherFactory RunnerLauncherFactory(const std::filesystem::path& appDir);

}  // namespace quorvel
