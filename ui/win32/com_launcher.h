#pragma once
// Runs programs for the calculation through the runner component Tolvane.dll:
// a new clsExecute object for every run, created by class identifier through
// COM, released right after it.

#include <oaidl.h>
#include <windows.h>

#include <filesystem>
#include <stop_token>
#include <utility>

#include "calc/run/process_launcher.h"

namespace quorvel {

class ComLauncher : public ProcessLauncher {
  public:
    // appDir: the directory that holds Tolvane.dll. Needs COM initialised for
    // a single-threaded apartment on this thread. While a program runs, a
    // requested `stop` ends it within a few tens of milliseconds.
    explicit ComLauncher(std::filesystem::path appDir, std::stop_token stop = {})
        : appDir_(std::move(appDir)), stop_(std::move(stop)) {}

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override;
    void Terminate() override;
    // Terminate, once the stop given at construction is requested.
    void TerminateWhenStopped();

  private:
    std::filesystem::path appDir_;
    std::stop_token stop_;
    IDispatch* running_ = nullptr;  // the object of the pending run, if any
};

// The text for a failure to create the runner object with result `hr`;
// componentPresent: whether Tolvane.dll lies in the application directory.
std::u16string RunnerCreationError(long hr, bool componentPresent);

}  // namespace quorvel
