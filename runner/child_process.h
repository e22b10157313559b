#pragma once
// Starts a child process and waits for it while the caller's Qt events keep
// being processed.

#include "runner/spawn_command.h"

#include <QtCore/QString>

#include <sys/types.h>

#include <chrono>
#include <memory>

namespace quorvel {

// One started child. Shared between the waiting call and its owner, so that
// the owner can end the child, or go away, while the wait is pending.
struct ChildRun {
    pid_t pid = -1;
    bool ended = false;
    bool ownerGone = false;
    bool killScheduled = false;
    std::chrono::steady_clock::time_point killAt;
};

// Starts `command` in `workingDir` (empty: the caller's), with the caller's
// environment and open descriptors. Null when it cannot be started.
std::shared_ptr<ChildRun> StartChild(const SpawnCommand& command, const QString& workingDir);

// Returns once the child has ended and has been reaped. Meanwhile the calling
// thread's pending events are processed; between polls the thread sleeps until
// an event arrives, or for a few milliseconds at most.
void WaitForChild(const std::shared_ptr<ChildRun>& run);

// Sends SIGTERM and schedules SIGKILL for when the child outlives `grace`.
// False when the child has already ended.
bool TerminateChild(ChildRun& run, std::chrono::milliseconds grace);

}  // namespace quorvel
