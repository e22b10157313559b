#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ui/console/runner_launchers.h"
#include "ui/console/tests/test_launchers.h"

namespace quorvel::test_support {
namespace {

std::filesystem::path ModuleDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).parent_path();
}

// Tolvane.dll is created through the manifest of quorvel-batch.exe, with
// `appDir` as the folder where its files lie, as for the tool itself; the
// context is active on the thread for as long as its launcher lives.
class ContextLauncher : public ProcessLauncher {
  public:
    ContextLauncher(const std::filesystem::path& appDir, std::stop_token stop) {
        const std::wstring source = (appDir / L"quorvel-batch.exe").wstring();
        const std::wstring directory = appDir.wstring();
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID;
        context.lpSource = source.c_str();
        context.lpResourceName = MAKEINTRESOURCEW(1);
        context.lpAssemblyDirectory = directory.c_str();
        context_ = CreateActCtxW(&context);
        if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
        launcher_ = RunnerLauncherFactory(appDir)(std::move(stop));
    }
    ~ContextLauncher() override {
        launcher_.reset();
        if (context_ != INVALID_HANDLE_VALUE) {
            DeactivateActCtx(0, cookie_);
            ReleaseActCtx(context_);
        }
    }
    ContextLauncher(const ContextLauncher&) = delete;
    ContextLauncher& operator=(const ContextLauncher&) = delete;

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override {
        return launcher_->RunAndWait(cmdline, curDir, swShow);
    }
    void Terminate() override { launcher_->Terminate(); }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    std::unique_ptr<ProcessLauncher> launcher_;
};

}  // namespace

std::filesystem::path BuiltAppDir() { return ModuleDirectory().parent_path() / "bin"; }

std::filesystem::path SlowModelProgram() {
    return ModuleDirectory() / "quorvel_console_slow_model.exe";
}

int RunCommandLine(const std::string& line) { return std::system(line.c_str()); }

project::LauncherFactory TestLaunchers(const std::filesystem::path& appDir) {
    return [appDir](std::stop_token stop) {
        return std::make_unique<ContextLauncher>(appDir, std::move(stop));
    };
}

}  // namespace quorvel::test_support

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
