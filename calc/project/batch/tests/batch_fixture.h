#pragma once
// An application directory with a stand-in model for batch tests: the
// launcher writes a crafted report into the run's folder, with the
// concentration falling as 1000 ug/m^3 x 100 m / distance, so that each
// emission's standard decides its verdict.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stop_token>
#include <string>
#include <thread>

#include "calc/project/batch/batch_run.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/unicode_text.h"

namespace quorvel::test_support {

namespace fs = std::filesystem;

inline CraftedReport FallingReport() {
    CraftedReport report;
    for (int d = 100; d <= 5000; d += 100) report.rows.emplace_back(d, 1000.0 * 100.0 / d);
    report.maxima = {{1000.0, 100.0}};
    return report;
}

// Plays the model: writes `report` as Screen.OUT into the working directory.
// With `holdUntilStop`, waits (polling like a runner) until the batch stops,
// then returns as a terminated program does, without a report.
class StandInLauncher : public ProcessLauncher {
  public:
    StandInLauncher(CraftedReport report, std::stop_token stop, bool holdUntilStop,
                    std::atomic<int>& runs)
        : report_(std::move(report)), stop_(std::move(stop)), hold_(holdUntilStop), runs_(runs) {}

    Result<std::int32_t> RunAndWait(const std::u16string&, const std::u16string& curDir,
                                    std::int16_t) override {
        ++runs_;
        if (hold_) {
            while (!stop_.stop_requested())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return 1;
        }
        std::ofstream(PathFromText(curDir) / "Screen.OUT", std::ios::binary) << ReportText(report_);
        return 1;
    }
    void Terminate() override {}

  private:
    CraftedReport report_;
    std::stop_token stop_;
    bool hold_;
    std::atomic<int>& runs_;
};

class BatchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        appDir_ =
            fs::temp_directory_path() / ("quorvel-batch-" + std::to_string(std::random_device{}()));
        fs::create_directories(appDir_);
        std::ofstream(appDir_ / "SCREEN3.EXE") << "stand-in";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(appDir_, ignored);
    }

    project::LauncherFactory StandIns(CraftedReport report, bool hold = false) {
        return [this, report, hold](std::stop_token stop) {
            return std::make_unique<StandInLauncher>(report, std::move(stop), hold, runs_);
        };
    }

    // The folders runs left in the application directory.
    int RunFoldersLeft() const {
        int left = 0;
        for (const auto& entry : fs::directory_iterator(appDir_)) left += entry.is_directory();
        return left;
    }

    fs::path appDir_;
    std::atomic<int> runs_{0};
};

}  // namespace quorvel::test_support
