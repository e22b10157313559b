// A project of 100 emissions (20 sources x 5 pollutants) through the real
// model and runner: the batch on every core against the same 100
// calculations one after another, and the batch with the emission limits for
// its three targets against the batch alone, with the ratios of the wall
// times. Then the combined field of that project and of the example project
// against their batches, and the plain reference of the field on a sample of
// points, extrapolated to the field's grid.

#include <QtCore/QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "calc/project/batch/batch_run.h"
#include "calc/project/field/compute_field.h"
#include "calc/project/field/field_setup.h"
#include "calc/project/field/tests/plain_reference.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/project_file.h"
#include "calc/project/limits/emission_limits.h"
#include "calc/run/run_screen3.h"
#include "ui/console/bench/hundred_emissions.h"
#include "ui/console/runner_launchers.h"

namespace {

using namespace quorvel;
using namespace quorvel::project;

const std::filesystem::path kAppDir = QUORVEL_APP_DIR;

// The fastest repetition of each, for the ratio.
double batchSeconds = 0;
double sequentialSeconds = 0;
double limitsSeconds = 0;

double exampleBatchSeconds = 0;
double exampleFieldSeconds = 0;
double hundredFieldSeconds = 0;
double plainSecondsPerPoint = 0;

Project Example() { return OpenProject(QUORVEL_EXAMPLE_PROJECT).value(); }

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

double SecondsOf(const std::function<void()>& work) {
    const auto begun = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
}

void BM_ExampleBatch(benchmark::State& state) {
    const Project project = Example();
    const LauncherFactory launchers = RunnerLauncherFactory(kAppDir);
    for (auto _ : state) {
        exampleBatchSeconds =
            Fastest(exampleBatchSeconds, SecondsOf([&] {
                        RunProject(project, BatchSettings{kAppDir, 0}, launchers, {});
                    }));
    }
}

void BM_ExampleField(benchmark::State& state) {
    const Project project = Example();
    for (auto _ : state) {
        FieldResult field;
        exampleFieldSeconds =
            Fastest(exampleFieldSeconds, SecondsOf([&] { field = ComputeField(project); }));
        state.counters["distance_m"] = field.distance.value_or(-1);
    }
}

void BM_HundredField(benchmark::State& state) {
    const Project project = HundredEmissions();
    for (auto _ : state) {
        FieldResult field;
        hundredFieldSeconds =
            Fastest(hundredFieldSeconds, SecondsOf([&] { field = ComputeField(project); }));
        state.counters["distance_m"] = field.distance.value_or(-1);
    }
}

// The plain reference (every class and speed, every 0.1 degree) at a few
// points of the example project, every pollutant.
void BM_ExamplePlainReference(benchmark::State& state) {
    const Project project = Example();
    const FieldSetup setup = SetUpField(project);
    const std::vector<SitePoint> points{{350, 100}, {150, 250}, {-60, 60}};
    for (auto _ : state) {
        const double seconds = SecondsOf([&] {
            for (const SitePoint& p : points) {
                for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
                    if (setup.pollutants[k].error.empty()) PlainField(setup, k, p);
                }
            }
        });
        plainSecondsPerPoint =
            Fastest(plainSecondsPerPoint, seconds / static_cast<double>(points.size()));
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

BENCHMARK(BM_ExampleBatch)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ExampleField)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_HundredField)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ExamplePlainReference)
    ->Iterations(1)
    ->Repetitions(1)
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
    if (exampleFieldSeconds > 0 && exampleBatchSeconds > 0) {
        std::printf(
            "fastest: example project's field %.3f s (target under 0.5 s), its batch %.3f s\n",
            exampleFieldSeconds, exampleBatchSeconds);
    }
    if (hundredFieldSeconds > 0 && batchSeconds > 0) {
        std::printf(
            "fastest: 100-emission field %.3f s, its batch %.3f s: ratio %.2f (target at "
            "most 3)\n",
            hundredFieldSeconds, batchSeconds, hundredFieldSeconds / batchSeconds);
    }
    if (plainSecondsPerPoint > 0) {
        // The example's first grid: a frame of 1600 m by 1500 m at 50 m.
        const double gridPoints = 33.0 * 31.0;
        std::printf(
            "plain reference: %.2f s a point for every pollutant; the example's grid of "
            "%.0f points would take %.0f s one after another\n",
            plainSecondsPerPoint, gridPoints, plainSecondsPerPoint * gridPoints);
    }
    return 0;
}
