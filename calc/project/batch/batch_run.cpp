#include "calc/project/batch/batch_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "calc/program_version.h"
#include "calc/project/batch/emission_outcome.h"
#include "calc/project/batch/run_folder.h"
#include "calc/project/batch/source_outcome.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/zone/zone.h"
#include "calc/run/run_directory.h"
#include "calc/run/run_screen3.h"

namespace quorvel::project {
namespace {

// What the workers share: the rows to compute, where their results go and
// how progress is told.
class BatchState {
  public:
    BatchState(const Project& project, const BatchSettings& settings,
               const ProgressCallback& progress, std::stop_token stop)
        : project_(project),
          settings_(settings),
          progress_(progress),
          stop_(std::move(stop)),
          results_(project.emissions.size()) {}

    // Checks every row; rows with a fault get their message at once.
    void CheckRows() {
        inputs_.reserve(project_.emissions.size());
        for (std::size_t i = 0; i < project_.emissions.size(); ++i) {
            inputs_.push_back(EmissionInputs(project_, i));
            if (!inputs_.back())
                Finish(i, FailedEmission(project_.emissions[i], inputs_.back().error()));
            else
                pending_.push_back(i);
        }
    }

    std::size_t PendingCount() const { return pending_.size(); }

    // One worker: takes rows until none is left or stop is requested.
    void Work(const LauncherFactory& makeLauncher, const std::filesystem::path& runBase) {
        std::unique_ptr<ProcessLauncher> launcher;
        try {
            launcher = makeLauncher(stop_);
        } catch (...) {
            // Without a launcher each row this worker takes says so.
        }
        while (!stop_.stop_requested()) {
            const std::size_t taken = next_.fetch_add(1);
            if (taken >= pending_.size()) break;
            const std::size_t index = pending_[taken];
            Started(index);
            Finish(index, Compute(index, launcher.get(), runBase));
        }
    }

    // Every row not computed because of a stop gets kNotComputedText.
    std::vector<EmissionResult> TakeResults() {
        for (std::size_t i = 0; i < results_.size(); ++i) {
            if (!results_[i]) results_[i] = FailedEmission(project_.emissions[i], kNotComputedText);
        }
        std::vector<EmissionResult> all;
        all.reserve(results_.size());
        for (auto& result : results_) all.push_back(std::move(*result));
        return all;
    }

    // Every row without a result fails with `message`.
    void FailPending(const std::u16string& message) {
        for (std::size_t index : pending_) {
            if (!results_[index]) Finish(index, FailedEmission(project_.emissions[index], message));
        }
    }

  private:
    EmissionResult Compute(std::size_t index, ProcessLauncher* launcher,
                           const std::filesystem::path& runBase) {
        const Emission& emission = project_.emissions[index];
        try {
            if (launcher == nullptr) return FailedEmission(emission, u"不能创建进程运行组件!");
            const Result<std::filesystem::path> folder = MakeRunFolder(runBase);
            if (!folder) return FailedEmission(emission, folder.error());
            const CalculationInputs inputs = inputs_[index].value();
            std::optional<RunRecord> record;
            const Result<std::u16string> verdict = RunScreen3In(
                settings_.appDir, folder.value(), [&inputs] { return inputs; }, *launcher, record);
            const bool stopped = stop_.stop_requested();
            // A failed run keeps its report for the user to read, as a single
            // calculation does; a stopped or successful one leaves nothing.
            if (verdict || stopped || std::filesystem::is_empty(folder.value())) {
                RemoveRunFolder(folder.value());
            }
            if (!verdict) {
                return FailedEmission(emission,
                                      stopped ? std::u16string(kNotComputedText) : verdict.error());
            }
            return ComputedEmission(emission, std::move(*record));
        } catch (const std::bad_alloc&) {
            return FailedEmission(emission, u"内存不足，计算中止!");
        } catch (const std::exception&) {
            return FailedEmission(emission, u"计算时出现意外错误，计算中止!");
        }
    }

    void Started(std::size_t index) {
        const std::lock_guard lock(mutex_);
        Tell(index, nullptr);
    }

    void Finish(std::size_t index, EmissionResult result) {
        const std::lock_guard lock(mutex_);
        results_[index] = std::move(result);
        ++done_;
        Tell(index, &*results_[index]);
    }

    void Tell(std::size_t index, const EmissionResult* result) {
        if (!progress_) return;
        try {
            progress_(
                BatchProgress{done_, results_.size(), index, &project_.emissions[index], result});
        } catch (...) {
            // A failing observer does not stop the calculation.
        }
    }

    const Project& project_;
    const BatchSettings& settings_;
    const ProgressCallback& progress_;
    std::stop_token stop_;
    std::vector<Result<CalculationInputs>> inputs_;
    std::vector<std::size_t> pending_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::size_t done_ = 0;
    std::vector<std::optional<EmissionResult>> results_;
};

unsigned WorkerCount(const BatchSettings& settings, std::size_t rows) {
    unsigned workers = settings.workers;
    if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(workers, rows));
}

std::u16string FirstModelTitle(const std::vector<EmissionResult>& emissions) {
    for (const EmissionResult& emission : emissions) {
        if (emission.record && !emission.record->modelTitle.empty()) {
            return emission.record->modelTitle;
        }
    }
    return {};
}

void Summarise(const Project& project, ProjectResults& results) {
    results.sources = DecideSources(project, results.emissions);
    std::vector<Disc> discs;
    bool bounded = true;
    for (std::size_t i = 0; i < project.sources.size(); ++i) {
        const SourceResult& source = results.sources[i];
        if (source.outcome == SourceOutcome::Distance) {
            discs.push_back(Disc{project.sources[i].centre, *source.distance});
        }
        if (source.outcome == SourceOutcome::Beyond ||
            source.outcome == SourceOutcome::Incomplete) {
            bounded = false;
        }
    }
    results.zone = ComputeZone(discs, project.boundary, bounded);
    results.receptors = CheckReceptors(project.receptors, discs, project.boundary, results.zone);
}

}  // namespace

BatchRun RunProject(const Project& project, const BatchSettings& settings,
                    const LauncherFactory& makeLauncher, const ProgressCallback& progress,
                    std::stop_token stop) {
    BatchRun run;
    try {
        BatchState state(project, settings, progress, stop);
        state.CheckRows();
        if (state.PendingCount() > 0) {
            const Result<std::filesystem::path> runBase = ChooseRunDirectory(settings.appDir);
            if (!runBase) {
                state.FailPending(runBase.error());
            } else {
                const auto work = [&state, &makeLauncher, &runBase] {
                    state.Work(makeLauncher, runBase.value());
                };
                std::vector<std::jthread> workers;
                const unsigned count = WorkerCount(settings, state.PendingCount());
                for (unsigned i = 0; i < count; ++i) {
                    try {
                        workers.emplace_back(work);
                    } catch (const std::system_error&) {
                        break;  // the system gives no more threads: fewer workers
                    }
                }
                if (workers.empty()) work();
            }
        }
        run.cancelled = stop.stop_requested();
        run.results.emissions = state.TakeResults();
        run.results.project = project.name;
        run.results.program = "Quorvel " + ProgramVersion();
        run.results.model = FirstModelTitle(run.results.emissions);
        Summarise(project, run.results);
        run.results.finished = LocalTimeNow();
    } catch (const std::exception&) {
        // Only memory can run out here; what was computed is returned.
    }
    return run;
}

}  // namespace quorvel::project
