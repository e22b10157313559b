#pragma once
// A process launcher for tests: records its calls and plays the model's part
// with a function the test gives.

#include <functional>
#include <string>
#include <vector>

#include "calc/run/process_launcher.h"

namespace quorvel::test_support {

struct LaunchCall {
    std::u16string cmdline;
    std::u16string curDir;
    std::int16_t swShow = -1;
};

class FakeLauncher : public ProcessLauncher {
  public:
    using Model = std::function<Result<std::int32_t>(const LaunchCall&)>;

    explicit FakeLauncher(Model model) : model_(std::move(model)) {}

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override {
        calls.push_back({cmdline, curDir, swShow});
        return model_(calls.back());
    }
    void Terminate() override { ++terminations; }

    std::vector<LaunchCall> calls;
    int terminations = 0;

  private:
    Model model_;
};

}  // namespace quorvel::test_support
