// Emission limits through the real model: a run at the limit meets its target
// and a run at 0.1 % more does not.

#include <gtest/gtest.h>

#include "calc/project/batch/batch_run.h"
#include "calc/project/batch/emission_outcome.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/project_file.h"
#include "calc/project/files/shortest_number.h"
#include "calc/project/limits/emission_limits.h"
#include "calc/project/limits/limit_targets.h"
#include "calc/run/run_screen3.h"
#include "calc/unicode_text.h"
#include "ui/console/tests/scratch_app_dir.h"
#include "ui/console/tests/test_launchers.h"

namespace quorvel::project {
namespace {

using test_support::BuiltAppDir;
using test_support::ScratchAppDir;
using test_support::TestLaunchers;

// The example plant with a target distance, a source outside the fence, an
// emission still above its standard at 5000 m and one that reaches it nowhere.
Project LimitsProject() {
    Project project = OpenProject(QUORVEL_EXAMPLE_PROJECT).value();
    project.targetDistance = 180.0;
    Source outside = project.sources[1];
    outside.id = "S4";
    outside.name = "厂外堆场";
    outside.centre = {380, 40};
    project.sources.push_back(outside);
    Emission heap = project.emissions[2];
    heap.source = "S4";
    project.emissions.push_back(heap);
    Emission strong = project.emissions[0];
    strong.pollutant = "苯乙烯";
    strong.rate = 3000;
    project.emissions.push_back(strong);
    Emission weak = project.emissions[1];
    weak.pollutant = "甲苯";
    weak.rate = 0.001;
    project.emissions.push_back(weak);
    return project;
}

// The outcome of the emission's calculation at `rate` in its own unit.
std::pair<EmissionOutcome, std::optional<double>> OutcomeAt(const Project& project, std::size_t row,
                                                            double rate, const ScratchAppDir& app,
                                                            ProcessLauncher& launcher) {
    CalculationInputs inputs = EmissionInputs(project, row).value();
    inputs.RateText = FromUtf8(ShortestNumber(rate));
    std::optional<RunRecord> record;
    const Result<std::u16string> verdict = RunScreen3(
        app.path(), [&inputs] { return inputs; }, launcher, record);
    EXPECT_TRUE(verdict) << ToUtf8(verdict.error());
    if (!verdict) return {EmissionOutcome::Error, std::nullopt};
    std::optional<double> distance;
    if (record->verdict.bufferDistance) distance = *record->verdict.bufferDistance;
    return {OutcomeOfVerdict(record->verdict), distance};
}

TEST(LimitsWithTheModel, EachLimitMeetsItsTargetAndATenthOfAPercentMoreDoesNot) {
    const ScratchAppDir app(BuiltAppDir());
    const LauncherFactory launchers = TestLaunchers(app.path());
    const Project project = LimitsProject();
    BatchRun run = RunProject(project, BatchSettings{app.path(), 0}, launchers, {});
    std::size_t runs = 0;
    ComputeLimits(project, run.results, PoolSettings{app.path(), 0}, launchers,
                  [&runs](std::size_t done) { runs = done; });
    const auto& emissions = run.results.emissions;
    ASSERT_EQ(emissions.size(), 9u);
    EXPECT_EQ(emissions[7].outcome, EmissionOutcome::Beyond);
    EXPECT_EQ(emissions[8].outcome, EmissionOutcome::None);
    // A handful of runs for each emission and target at the most.
    EXPECT_LE(runs, 9u * 3u * 2u);

    const std::unique_ptr<ProcessLauncher> single = launchers(std::stop_token{});
    int checked = 0;
    for (std::size_t row = 0; row < emissions.size(); ++row) {
        ASSERT_TRUE(emissions[row].limits) << row;
        const EmissionLimits& limits = *emissions[row].limits;
        const double rate = project.emissions[row].rate;
        const Target fence{TargetKind::Boundary, limits.boundary ? limits.boundary->target : 0,
                           false};
        const Target village{TargetKind::Receptors, limits.receptors ? limits.receptors->target : 0,
                             true};
        const Target distance{TargetKind::Distance, 180.0, false};
        const std::pair<const std::optional<RateLimit>*, Target> all[] = {
            {&limits.boundary, fence}, {&limits.receptors, village}, {&limits.distance, distance}};
        for (const auto& [limit, target] : all) {
            if (!*limit) continue;
            SCOPED_TRACE(project.emissions[row].source + " " + project.emissions[row].pollutant +
                         " target " + std::to_string(target.distance));
            EXPECT_TRUE((*limit)->settled);
            const auto [at, atDistance] = OutcomeAt(project, row, (*limit)->rateMax, app, *single);
            EXPECT_TRUE(MeetsTarget(at, atDistance, target));
            const auto [more, moreDistance] =
                OutcomeAt(project, row, (*limit)->rateMax * 1.001, app, *single);
            EXPECT_FALSE(MeetsTarget(more, moreDistance, target));
            EXPECT_NEAR((*limit)->cut, std::max(0.0, 1 - (*limit)->rateMax / rate), 1e-12);
            ++checked;
        }
    }
    // S4 lies outside the plant: no boundary target for its emission.
    EXPECT_FALSE(emissions[6].limits->boundary);
    EXPECT_TRUE(emissions[6].limits->receptors);
    EXPECT_GT(emissions[7].limits->distance->cut, 0.9);  // beyond 5000 m: a deep cut
    EXPECT_EQ(emissions[8].limits->distance->cut, 0.0);  // no exceedance: no cut
    EXPECT_GE(checked, 20);
    EXPECT_EQ(app.FoldersLeft(), 0);
}

TEST(LimitsWithTheModel, AProjectWithoutReceptorsOrTargetHasOnlyBoundaryLimits) {
    const ScratchAppDir app(BuiltAppDir());
    const LauncherFactory launchers = TestLaunchers(app.path());
    Project project = OpenProject(QUORVEL_EXAMPLE_PROJECT).value();
    project.receptors.clear();
    BatchRun run = RunProject(project, BatchSettings{app.path(), 0}, launchers, {});
    ComputeLimits(project, run.results, PoolSettings{app.path(), 0}, launchers, {});
    for (const EmissionResult& emission : run.results.emissions) {
        ASSERT_TRUE(emission.limits);
        EXPECT_TRUE(emission.limits->boundary);
        EXPECT_FALSE(emission.limits->receptors);
        EXPECT_FALSE(emission.limits->distance);
    }
}

}  // namespace
}  // namespace quorvel::project
