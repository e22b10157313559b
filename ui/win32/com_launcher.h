#pragma once
// Runs programs for the calculation through the runner component Tolvane.dll:
// a new clsExecute object for every run, created by class identifier through
// COM, released right after it.

#include <oaidl.h>
#include <windows.h>

#include "calc/run/process_launcher.h"

namespace quorvel {

class ComLauncher : public ProcessLauncher {
  public:
    // Needs COM initialised for a single-threaded apartment on this thread.
    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override;
    void Terminate() override;

  private:
    IDispatch* running_ = nullptr;  // the object of the pending run, if any
};

// The text for a failure to create the runner object with result `hr`.
std::u16string RunnerCreationError(long hr);

}  // namespace quorvel
