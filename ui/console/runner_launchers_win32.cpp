#include <windows.h>
// After windows.h, which it builds on:
#include <objbase.h>

#include <memory>

#include "ui/console/runner_launchers.h"
#include "ui/win32/com_launcher.h"

namespace quorvel {
namespace {

// A single-threaded apartment for the worker thread, for as long as its
// launcher lives; the runner objects are created in it.
class WorkerLauncher : public ProcessLauncher {
  public:
    WorkerLauncher(const std::filesystem::path& appDir, std::stop_token stop)
        : com_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)),
          launcher_(std::make_unique<ComLauncher>(appDir, std::move(stop))) {}
    ~WorkerLauncher() override {
        launcher_.reset();
        if (SUCCEEDED(com_)) CoUninitialize();
    }
    WorkerLauncher(const WorkerLauncher&) = delete;
    WorkerLauncher& operator=(const WorkerLauncher&) = delete;

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override {
        return launcher_->RunAndWait(cmdline, curDir, swShow);
    }
    void Terminate() override { launcher_->Terminate(); }

  private:
    HRESULT com_;
    std::unique_ptr<ComLauncher> launcher_;
};

}  // namespace

project::LauncherFactory RunnerLauncherFactory(const std::filesystem::path& appDir) {
    return [appDir](std::stop_token stop) {
        return std::make_unique<WorkerLauncher>(appDir, std::move(stop));
    };
}

}  // namespace quorvel
