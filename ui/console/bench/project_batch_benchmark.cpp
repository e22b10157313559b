// A project of 100 emissions (20 sources x 5 pollutants) through the real
// model and runner: the batch on every core against the same 100
// calculations one after another, and the batch with the emission limits for
// its three targets against the batch alone, with the ratios of the wall
// times.

#include <QtCore/QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "calc/project/batch/batch_run.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/limits/emission_limits.h"
#include "calc/run/run_screen3.h"
#include "ui/console/runner_launchers.h"

namespace {

using namespace quorvel;
using namespace quorvel::project;

const std::filesystem::path kAppDir = QUORVEL_APP_DIR;

Project HundredEmissions() {
    Project project;
    project.name = "基准项目";
    const char* pollutants[] = {"苯", "甲苯", "二甲苯", "非甲烷总烃", "氨"};
    for (int s = 0; s < 20; ++s) {
        Source source;
        source.id = "S" + std::to_string(s + 1);
        source.centre = {100.0 * (s % 5), 100.0 * (s / 5)};
        source.height = 3.0 + s % 4;
        source.width = 20.0 + 5 * (s % 3);
        source.length = 30.0 + 10 * (s % 4);
        project.sources.push_back(source);
        for (int p = 0; p < 5; ++p) {
            Emission emission;
            emission.source = source.id;
            emission.pollutant = pollutants[p];
            emission.rate = 0.05 * (p + 1);
            emission.unit = RateUnit::KilogramsPerHour;
            emission.hourly = 0.2 * (p + 1);
            project.emissions.push_back(emission);
        }
    }
    // A plant around the sources, villages beyond it, a target distance:
    // every emission has all three targets.
    project.boundary = {{-60, -60}, {460, -60}, {460, 360}, {-60, 360}};
    project.receptors = {Receptor{"东村", {800, 150}, {}}, Receptor{"南村", {200, -500}, {}}};
    project.targetDistance = 300;
    return project;
}

// The fastest repetition of each, for the ratio.
double batchSeconds = 0;
double sequentialSeconds = 0;
double limitsSeconds = 0;

double Fastest(double best, double seconds) { return best == 0 || seconds < best ? seconds : best; }

void BM_ProjectBatch(benchmark::State& state) {
    const Project project = HundredEmissions();
    const LauncherFactory launchers = RunnerLauncherFactory(kAppDir);
    for (auto _ : state) {
        const auto begun = std::chrono::steady_clock::now();
        const BatchRun run = RunProject(project, BatchSettings{kAppDir, 0}, launchers, {});
        batchSeconds = Fastest(
            batchSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
        for (const EmissionResult& emission : run.results.emissions) {
            if (emission.outcome == EmissionOutcome::Error) state.SkipWithError("a row failed");
        }
    }
    state.counters["emissions"] = static_cast<double>(project.emissions.size());
}

void BM_ProjectBatchWithLimits(benchmark::State& state) {
    const Project project = HundredEmissions();
    const LauncherFactory launchers = RunnerLauncherFactory(kAppDir);
    for (auto _ : state) {
        const auto begun = std::chrono::steady_clock::now();
        BatchRun run = RunProject(project, BatchSettings{kAppDir, 0}, launchers, {});
        std::size_t runs = 0;
        ComputeLimits(project, run.results, PoolSettings{kAppDir, 0}, launchers,
                      [&runs](std::size_t done) { runs = done; });
        limitsSeconds = Fastest(
            limitsSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
        state.counters["limit_runs"] = static_cast<double>(runs);
    }
}

void BM_OneAfterAnother(benchmark::State& state) {
    const Project project = HundredEmissions();
    const auto launcher = RunnerLauncherFactory(kAppDir)(std::stop_token{});
    for (auto _ : state) {
        const auto begun = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < project.emissions.size(); ++i) {
            const CalculationInputs inputs = EmissionInputs(project, i).value();
            std::optional<RunRecord> record;
            if (!RunScreen3(
                    kAppDir, [&inputs] { return inputs; }, *launcher, record)) {
                state.SkipWithError("a calculation failed");
            }
        }
        sequentialSeconds = Fastest(
            sequentialSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
    }
}

BENCHMARK(BM_ProjectBatch)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ProjectBatchWithLimits)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_OneAfterAnother)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (batchSeconds > 0 && limitsSeconds > 0) {
        std::printf(
            "fastest: batch with limits %.3f s, batch %.3f s: ratio %.2f (target at most 3)\n",
            limitsSeconds, batchSeconds, limitsSeconds / batchSeconds);
    }
    if (sequentialSeconds > 0) {
        std::printf(
            "fastest: batch %.3f s, one after another %.3f s: ratio %.2f (target at most 0.65)\n",
            batchSeconds, sequentialSeconds, batchSeconds / sequentialSeconds);
    }
    return 0;
}
