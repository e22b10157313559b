#include "runner/child_process.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QEventLoop>
#include <QtCore/QFile>
#include <QtCore/QTimer>

#include <cerrno>
#include <csignal>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace quorvel {
namespace {

// Upper bound on the sleep between two polls of the child.
constexpr std::chrono::milliseconds kPollInterval{5};

// Polls without blocking, or blocks when `block`; true once the child is gone.
bool Reap(ChildRun& run, bool block) {
    if (run.ended) {
        return true;
    }
    for (;;) {
        int status = 0;
        const pid_t result = ::waitpid(run.pid, &status, block ? 0 : WNOHANG);
        if (result == run.pid) {
            run.ended = true;
            return true;
        }
        if (result == 0) {
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        // ECHILD: someone else has reaped it (SIGCHLD ignored by the caller).
        run.ended = true;
        return true;
    }
}

void KillWhenOverdue(ChildRun& run) {
    if (run.killScheduled && !run.ended && std::chrono::steady_clock::now() >= run.killAt) {
        ::kill(run.pid, SIGKILL);
        run.killScheduled = false;
    }
}

struct SpawnAttributes {
    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};

    SpawnAttributes() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnAttributes() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

}  // namespace

std::shared_ptr<ChildRun> StartChild(const SpawnCommand& command, const QString& workingDir) {
    std::vector<QByteArray> texts;
    texts.reserve(static_cast<std::size_t>(command.arguments.size()) + 1);
    texts.push_back(QFile::encodeName(command.program));
    for (const QString& argument : command.arguments) {
        texts.push_back(argument.toLocal8Bit());
    }
    std::vector<char*> argv;
    argv.reserve(texts.size() + 1);
    for (QByteArray& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    SpawnAttributes spawn;
    // The child starts with default signal handling and an empty signal mask,
    // whatever the caller has set up for itself.
    sigset_t allSignals;
    sigset_t noSignals;
    sigfillset(&allSignals);
    sigemptyset(&noSignals);
    posix_spawnattr_setsigdefault(&spawn.attributes, &allSignals);
    posix_spawnattr_setsigmask(&spawn.attributes, &noSignals);
    posix_spawnattr_setflags(&spawn.attributes,
                             static_cast<short>(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK));
    const QByteArray dir = QFile::encodeName(workingDir);
    if (!workingDir.isEmpty() &&
        posix_spawn_file_actions_addchdir_np(&spawn.actions, dir.constData()) != 0) {
        return nullptr;
    }

    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &spawn.actions, &spawn.attributes, argv.data(), environ) !=
        0) {
        return nullptr;
    }
    auto run = std::make_shared<ChildRun>();
    run->pid = pid;
    return run;
}

void WaitForChild(const std::shared_ptr<ChildRun>& run) {
    if (QAbstractEventDispatcher::instance() == nullptr) {
        // No event processing on this thread: nothing to keep live.
        Reap(*run, true);
        return;
    }
    // The timer bounds each wait for events, so the poll comes round again
    // within a few milliseconds even when the caller receives no events.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setInterval(kPollInterval);
    wake.start();
    while (!Reap(*run, false)) {
        KillWhenOverdue(*run);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

bool TerminateChild(ChildRun& run, std::chrono::milliseconds grace) {
    if (run.ended || Reap(run, false)) {
        return false;
    }
    ::kill(run.pid, SIGTERM);
    const auto killAt = std::chrono::steady_clock::now() + grace;
    if (!run.killScheduled || killAt < run.killAt) {
        run.killScheduled = true;
        run.killAt = killAt;
    }
    return true;
}

}  // namespace quorvel
