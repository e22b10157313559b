#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

#include "calc/project/batch/tests/batch_fixture.h"

namespace quorvel::project {
namespace {

using test_support::BatchFixture;
using test_support::FallingReport;

Source SourceAt(std::string id, double x, double y) {
    Source source;
    source.id = std::move(id);
    source.name = "车间" + source.id;
    source.centre = {x, y};
    source.height = 5;
    source.width = 40;
    source.length = 60;
    return source;
}

Emission EmissionOf(std::string source, std::string pollutant, double hourly) {
    Emission emission;
    emission.source = std::move(source);
    emission.pollutant = std::move(pollutant);
    emission.rate = 0.5;
    emission.unit = RateUnit::KilogramsPerHour;
    emission.hourly = hourly;
    return emission;
}

// S1: two distances (400 m and 300 m); S2: one beyond 5000 m; S3: none and a
// row fault; S4: nothing reaches its standard.
Project MixedProject() {
    Project project;
    project.name = "测试项目";
    project.sources = {SourceAt("S1", 0, 0), SourceAt("S2", 1000, 0), SourceAt("S3", 0, 1000),
                       SourceAt("S4", 3000, 3000)};
    project.emissions = {EmissionOf("S1", "苯", 0.3),         EmissionOf("S1", "甲苯", 0.5),
                         EmissionOf("S2", "氨", 0.01),        EmissionOf("S3", "硫化氢", 2.0),
                         EmissionOf("S3", "非甲烷总烃", 0.5), EmissionOf("S4", "氨", 5.0)};
    project.emissions[4].rate = 0;  // a row fault
    project.receptors = {Receptor{"近村", {350, 0}, {}}, Receptor{"远村", {0, -2000}, {}}};
    return project;
}

TEST_F(BatchFixture, EveryRowGetsItsOutcomeAndEachSourceItsDistance) {
    std::mutex seen;
    std::vector<BatchProgress> steps;
    const BatchRun run = RunProject(MixedProject(), BatchSettings{appDir_, 3},
                                    StandIns(FallingReport()), [&](const BatchProgress& step) {
                                        const std::lock_guard lock(seen);
                                        steps.push_back(step);
                                    });
    ASSERT_FALSE(run.cancelled);
    const auto& e = run.results.emissions;
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].outcome, EmissionOutcome::Distance);
    EXPECT_EQ(e[0].distance, 400.0);
    EXPECT_EQ(e[0].verdict, u"Quorvel 建议距离（距面源中心） = 400 m");
    EXPECT_EQ(e[0].standard, 300.0);
    EXPECT_EQ(e[0].cmax, 1000.0);
    EXPECT_EQ(e[0].cmaxDistance, 100.0);
    ASSERT_TRUE(e[0].pmax);
    EXPECT_NEAR(*e[0].pmax, 1000.0 / 300.0, 1e-6);  // as single precision prints it
    EXPECT_EQ(e[1].distance, 300.0);
    EXPECT_EQ(e[2].outcome, EmissionOutcome::Beyond);
    EXPECT_FALSE(e[2].distance);
    EXPECT_EQ(e[3].outcome, EmissionOutcome::None);
    EXPECT_EQ(e[3].verdict, u"无超标点");
    EXPECT_EQ(e[4].outcome, EmissionOutcome::Error);
    EXPECT_NE(e[4].error.find(u"非甲烷总烃"), std::u16string::npos) << ToUtf8(e[4].error);
    EXPECT_FALSE(e[4].record);
    EXPECT_EQ(e[5].outcome, EmissionOutcome::None);
    EXPECT_EQ(runs_, 5);  // the row fault never reaches the model

    const auto& s = run.results.sources;
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].outcome, SourceOutcome::Distance);
    EXPECT_EQ(s[0].distance, 400.0);
    EXPECT_EQ(s[0].decidingPollutant, "苯");
    EXPECT_EQ(s[1].outcome, SourceOutcome::Beyond);
    EXPECT_EQ(s[2].outcome, SourceOutcome::Incomplete);
    EXPECT_EQ(s[3].outcome, SourceOutcome::None);

    // Only S1 has a disc; the zone is not final, and the near village lies in it.
    EXPECT_FALSE(run.results.zone.bounded);
    EXPECT_NEAR(run.results.zone.area, 3.14159265 * 400 * 400, 3.14159265 * 400 * 400 * 1e-3);
    ASSERT_EQ(run.results.receptors.size(), 2u);
    EXPECT_TRUE(run.results.receptors[0].inside);
    EXPECT_NEAR(*run.results.receptors[0].margin, -50.0, 1e-9);
    EXPECT_FALSE(run.results.receptors[1].inside);
    EXPECT_EQ(run.results.project, "测试项目");
    EXPECT_EQ(run.results.program.rfind("Quorvel ", 0), 0u);

    // A start and a finish for each computed row, a finish for the fault;
    // `done` counts up to the total.
    EXPECT_EQ(steps.size(), 11u);
    std::size_t finished = 0;
    for (const BatchProgress& step : steps) {
        EXPECT_EQ(step.total, 6u);
        if (step.result != nullptr) {
            EXPECT_EQ(step.done, ++finished);
        }
        EXPECT_NE(step.emission, nullptr);
    }
    EXPECT_EQ(finished, 6u);
    EXPECT_EQ(RunFoldersLeft(), 0);
}

TEST_F(BatchFixture, RowsRunInFoldersOfTheirOwnAtTheSameTime) {
    Project project;
    project.sources = {SourceAt("S1", 0, 0)};
    for (int i = 0; i < 12; ++i) {
        project.emissions.push_back(EmissionOf("S1", "P" + std::to_string(i), 0.3));
    }
    std::mutex seen;
    std::set<std::u16string> folders;
    std::set<std::thread::id> threads;
    const LauncherFactory recording = [&](std::stop_token stop) {
        class Recording : public test_support::StandInLauncher {
          public:
            Recording(std::stop_token token, std::atomic<int>& runs, std::mutex& m,
                      std::set<std::u16string>& f, std::set<std::thread::id>& t)
                : StandInLauncher(FallingReport(), std::move(token), false, runs),
                  m_(m),
                  f_(f),
                  t_(t) {}
            Result<std::int32_t> RunAndWait(const std::u16string& cmd, const std::u16string& dir,
                                            std::int16_t show) override {
                {
                    const std::lock_guard lock(m_);
                    f_.insert(dir);
                    t_.insert(std::this_thread::get_id());
                }
                return StandInLauncher::RunAndWait(cmd, dir, show);
            }

          private:
            std::mutex& m_;
            std::set<std::u16string>& f_;
            std::set<std::thread::id>& t_;
        };
        return std::make_unique<Recording>(std::move(stop), runs_, seen, folders, threads);
    };
    const BatchRun run = RunProject(project, BatchSettings{appDir_, 4}, recording, {});
    for (const EmissionResult& e : run.results.emissions) EXPECT_EQ(e.distance, 400.0);
    EXPECT_EQ(folders.size(), 12u);
    EXPECT_GE(threads.size(), 1u);
    EXPECT_LE(threads.size(), 4u);
    EXPECT_EQ(RunFoldersLeft(), 0);
}

TEST_F(BatchFixture, StopEndsTheRunningModelsAndLeavesNoRunFiles) {
    Project project;
    project.sources = {SourceAt("S1", 0, 0)};
    for (int i = 0; i < 8; ++i)
        project.emissions.push_back(EmissionOf("S1", "P" + std::to_string(i), 0.3));
    std::stop_source stop;
    std::atomic<int> started{0};
    std::jthread stopper([&] {
        while (started < 2) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        stop.request_stop();
    });
    const BatchRun run = RunProject(
        project, BatchSettings{appDir_, 2}, StandIns(FallingReport(), true),
        [&](const BatchProgress& step) {
            if (step.result == nullptr) ++started;
        },
        stop.get_token());
    EXPECT_TRUE(run.cancelled);
    ASSERT_EQ(run.results.emissions.size(), 8u);
    for (const EmissionResult& e : run.results.emissions) {
        EXPECT_EQ(e.outcome, EmissionOutcome::Error);
        EXPECT_EQ(e.error, kNotComputedText);
    }
    EXPECT_EQ(runs_, 2);  // no row starts after the stop
    EXPECT_EQ(RunFoldersLeft(), 0);
    EXPECT_EQ(run.results.sources[0].outcome, SourceOutcome::Incomplete);
}

TEST_F(BatchFixture, AFailedRunKeepsItsReportAndSaysWhere) {
    Project project;
    project.sources = {SourceAt("S1", 0, 0)};
    project.emissions = {EmissionOf("S1", "苯", 0.3), EmissionOf("S1", "甲苯", 0.5)};
    test_support::CraftedReport broken = FallingReport();
    broken.complete = false;
    const BatchRun run = RunProject(project, BatchSettings{appDir_, 2}, StandIns(broken), {});
    for (const EmissionResult& e : run.results.emissions) {
        EXPECT_EQ(e.outcome, EmissionOutcome::Error);
        EXPECT_EQ(e.error.rfind(u"(Screen3)运行时出错:请检查报告文件", 0), 0u);
        EXPECT_NE(e.error.find(PathText(appDir_)), std::u16string::npos) << ToUtf8(e.error);
    }
    EXPECT_EQ(RunFoldersLeft(), 2);
}

TEST_F(BatchFixture, AMissingModelFailsEveryRowWithTheWindowsMessage) {
    std::filesystem::remove(appDir_ / "SCREEN3.EXE");
    Project project;
    project.sources = {SourceAt("S1", 0, 0)};
    project.emissions = {EmissionOf("S1", "苯", 0.3)};
    const BatchRun run =
        RunProject(project, BatchSettings{appDir_, 0}, StandIns(FallingReport()), {});
    EXPECT_EQ(run.results.emissions[0].error, u"SCREEN3.EXE程序应该在本程序同一目录!");
    EXPECT_EQ(RunFoldersLeft(), 0);
}

}  // namespace
}  // namespace quorvel::project
