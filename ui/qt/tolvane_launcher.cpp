#include "ui/qt/tolvane_launcher.h"

#include <QtCore/QTimer>

#include <chrono>
#include <utility>

#include "runner/component_loader.h"

namespace quorvel {

namespace {

constexpr std::chrono::milliseconds kStopPollInterval{20};

}  // namespace

TolvaneLauncher::TolvaneLauncher(QString appDir, std::stop_token stop)
    : appDir_(std::move(appDir)), stop_(std::move(stop)) {}

Result<std::int32_t> TolvaneLauncher::RunAndWait(const std::u16string& cmdline,
                                                 const std::u16string& curDir,
                                                 std::int16_t swShow) {
    CreatedRunner runner = CreateClsExecute(appDir_);
    if (!runner.ok()) return Fail(runner.error.toStdU16String());
    runner.execute->AutoCloseWindow(kVbTrue);
    if (stop_.stop_requested()) return 0;
    running_ = runner.control;
    // The runner processes this thread's events while it waits, so the watch
    // sees a stop and ends the program from this thread, as Terminate needs.
    QTimer stopWatch;
    if (stop_.stop_possible()) {
        stopWatch.setInterval(kStopPollInterval);
        QObject::connect(&stopWatch, &QTimer::timeout, [this] {
            if (stop_.stop_requested()) Terminate();
        });
        stopWatch.start();
    }
    const std::int32_t result = runner.execute->Shell(QString::fromStdU16String(cmdline),
                                                      QString::fromStdU16String(curDir), swShow);
    running_ = nullptr;
    return result;
}

void TolvaneLauncher::Terminate() {
    if (running_ != nullptr) running_->Terminate();
}

}  // namespace quorvel
