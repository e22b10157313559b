#include <QtCore/QEventLoop>

#include <memory>

#include "runner/component_loader.h"
#include "ui/console/runner_launchers.h"
#include "ui/qt/tolvane_launcher.h"

namespace quorvel {
namespace {

// A launcher for a worker thread that Qt did not start: the event loop object
// gives the thread the event dispatcher that the runner's wait and the stop
// watch need.
class WorkerLauncher : public ProcessLauncher {
  public:
    WorkerLauncher(const QString& appDir, std::stop_token stop)
        : launcher_(appDir, std::move(stop)) {}

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override {
        return launcher_.RunAndWait(cmdline, curDir, swShow);
    }
    void Terminate() override { launcher_.Terminate(); }

  private:
    QEventLoop events_;
    TolvaneLauncher launcher_;
};

}  // namespace

project::LauncherFactory RunnerLauncherFactory(const std::filesystem::path& appDir) {
    const QString dir = QString::fromStdU16String(appDir.u16string());
    // The runner library is loaded once, from this thread: a library that a
    // worker thread loaded first stays behind when the program ends.
    CreateClsExecute(dir);
    return [dir](std::stop_token stop) {
        return std::make_unique<WorkerLauncher>(dir, std::move(stop));
    };
}

}  // namespace quorvel
