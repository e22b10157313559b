#include "runner/clsexecute.h"

#include "runner/command_line.h"
#include "runner/executable_lookup.h"
#include "runner/spawn_command.h"

#include <chrono>

namespace quorvel {
namespace {

// How long a child may take to end after SIGTERM before it gets SIGKILL.
constexpr std::chrono::milliseconds kTerminateGrace{2000};

}  // namespace

ClsExecute::ClsExecute() { Class_Initialize(); }

ClsExecute::ClsExecute(QStringList searchDirs) : searchDirs_(std::move(searchDirs)) {
    Class_Initialize();
}

ClsExecute::~ClsExecute() {
    // Deleted while its Shell call still waits (from an event handler run by
    // that wait): end the child now; the wait only touches the shared state.
    for (const std::weak_ptr<ChildRun>& pending : runs_) {
        if (const std::shared_ptr<ChildRun> run = pending.lock()) {
            run->ownerGone = true;
            TerminateChild(*run, std::chrono::milliseconds{0});
        }
    }
}

void ClsExecute::Class_Initialize() { m_AutoCloseWindow = kVbTrue; }

void ClsExecute::AutoCloseWindow(const VbBoolean& YesorNo) { m_AutoCloseWindow = YesorNo; }

std::int32_t ClsExecute::Shell(const QString& cmdline, const QString& CurDir,
                               const std::int16_t& SW_show) {
    // SW_show: a console program gets no window of its own here. 0 (hidden)
    // and 1 (normal) alike start it attached to the caller's terminal, if any,
    // and open no window; only the AutoCloseWindow False mode opens one.
    static_cast<void>(SW_show);
    return RunAndWait(cmdline, CurDir);
}

std::int32_t ClsExecute::RunAndWait(const QString& cmdline, const QString& CurDir) {
    const QStringList dirs = searchDirs_ ? *searchDirs_ : DefaultSearchDirs();
    const std::optional<SpawnCommand> command =
        FormSpawnCommand(cmdline, m_AutoCloseWindow != kVbFalse, dirs);
    const WorkingDirectory workingDir = ResolveWorkingDirectory(CurDir);
    if (!command || !workingDir.ok) {
        return 0;
    }
    const std::shared_ptr<ChildRun> run = StartChild(*command, workingDir.path);
    if (!run) {
        return 0;
    }
    // A Shell call made from an event handler during this wait nests inside
    // it; Terminate reaches the innermost child.
    runs_.push_back(run);
    WaitForChild(run);
    // `this` may have been deleted during the wait; touch it only if not.
    if (!run->ownerGone) {
        runs_.pop_back();
    }
    return 1;
}

std::int32_t ClsExecute::Terminate() {
    const std::shared_ptr<ChildRun> run = runs_.empty() ? nullptr : runs_.back().lock();
    return run && TerminateChild(*run, kTerminateGrace) ? 1 : 0;
}

}  // namespace quorvel
