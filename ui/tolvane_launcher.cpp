#include "ui/tolvane_launcher.h"

#include <utility>

#include "runner/component_loader.h"

namespace quorvel {

TolvaneLauncher::TolvaneLauncher(QString appDir) : appDir_(std::move(appDir)) {}

Result<std::int32_t> TolvaneLauncher::RunAndWait(const std::u16string& cmdline,
                                                 const std::u16string& curDir,
                                                 std::int16_t swShow) {
    CreatedRunner runner = CreateClsExecute(appDir_);
    if (!runner.ok()) return Fail(runner.error.toStdU16String());
    runner.execute->AutoCloseWindow(kVbTrue);
    running_ = runner.control;
    const std::int32_t result = runner.execute->Shell(QString::fromStdU16String(cmdline),
                                                      QString::fromStdU16String(curDir), swShow);
    running_ = nullptr;
    return result;
}

void TolvaneLauncher::Terminate() {
    if (running_ != nullptr) running_->Terminate();
}

}  // namespace quorvel
