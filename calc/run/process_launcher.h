#pragma once
// What the calculation run needs of a process runner. The window adapts the
// runner component to it; tests use fakes.

#include <cstdint>
#include <string>

#include "calc/result.h"

namespace quorvel {

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;

    // Starts the command line in the working directory with the given show
    // state and returns once the program has ended: 1 when it was started,
    // 0 when it could not be started. An error text when no runner could be
    // created for the call.
    virtual Result<std::int32_t> RunAndWait(const std::u16string& cmdline,
                                            const std::u16string& curDir, std::int16_t swShow) = 0;

    // Ends the program of a pending RunAndWait call, which then returns.
    // Does nothing when no program is running.
    virtual void Terminate() = 0;
};

}  // namespace quorvel
