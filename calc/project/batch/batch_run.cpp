#include "calc/project/batch/batch_run.h"

#include <exception>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "calc/program_version.h"
#include "calc/project/batch/emission_outcome.h"
#include "calc/project/batch/source_outcome.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/zone/zone.h"

namespace quorvel::project {
namespace {

// Tells the caller's progress callback, counting the finished rows.
class ProgressTeller {
  public:
    ProgressTeller(const Project& project, const ProgressCallback& progress)
        : project_(project), progress_(progress) {}

    // Callers hold no lock of their own: the pool tells one at a time, and
    // row faults are told before the pool starts.
    void Tell(std::size_t index, const EmissionResult* result) {
        if (result != nullptr) ++done_;
        if (!progress_) return;
        try {
            progress_(BatchProgress{done_, project_.emissions.size(), index,
                                    &project_.emissions[index], result});
        } catch (...) {
            // A failing observer does not stop the calculation.
        }
    }

  private:
    const Project& project_;
    const ProgressCallback& progress_;
    std::size_t done_ = 0;
};

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
        ProgressTeller teller(project, progress);
        std::vector<std::optional<EmissionResult>> results(project.emissions.size());
        // The rows with a fault get their message at once; the others are computed.
        std::vector<CalculationInputs> calculations;
        std::vector<std::size_t> rowOf;
        for (std::size_t i = 0; i < project.emissions.size(); ++i) {
            Result<CalculationInputs> inputs = EmissionInputs(project, i);
            if (!inputs) {
                results[i] = FailedEmission(project.emissions[i], inputs.error());
                teller.Tell(i, &*results[i]);
            } else {
                calculations.push_back(std::move(inputs).value());
                rowOf.push_back(i);
            }
        }
        const auto observe = [&](std::size_t job, const Result<RunRecord>* finished) {
            const std::size_t row = rowOf[job];
            if (finished == nullptr) return teller.Tell(row, nullptr);
            const Emission& emission = project.emissions[row];
            results[row] = finished->ok() ? ComputedEmission(emission, finished->value())
                                          : FailedEmission(emission, finished->error());
            teller.Tell(row, &*results[row]);
        };
        RunCalculations(calculations, PoolSettings{settings.appDir, settings.workers}, makeLauncher,
                        observe, stop);

        run.cancelled = stop.stop_requested();
        for (std::size_t i = 0; i < results.size(); ++i) {
            run.results.emissions.push_back(
                results[i] ? std::move(*results[i])
                           : FailedEmission(project.emissions[i], kNotComputedText));
        }
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
