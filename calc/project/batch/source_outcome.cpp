#include "calc/project/batch/source_outcome.h"

namespace quorvel::project {

std::vector<SourceResult> DecideSources(const Project& project,
                                        const std::vector<EmissionResult>& emissions) {
    std::vector<SourceResult> sources;
    sources.reserve(project.sources.size());
    for (const Source& source : project.sources) {
        SourceResult decided;
        decided.id = source.id;
        bool beyond = false;
        bool failed = false;
        const EmissionResult* farthest = nullptr;
        for (const EmissionResult& emission : emissions) {
            if (emission.source != source.id) continue;
            switch (emission.outcome) {
                case EmissionOutcome::Beyond:
                    beyond = true;
                    break;
                case EmissionOutcome::Error:
                    failed = true;
                    break;
                case EmissionOutcome::Distance:
                    if (farthest == nullptr || *emission.distance > *farthest->distance) {
                        farthest = &emission;
                    }
                    break;
                case EmissionOutcome::None:
                    break;
            }
        }
        if (beyond) {
            decided.outcome = SourceOutcome::Beyond;
        } else if (failed) {
            decided.outcome = SourceOutcome::Incomplete;
        } else if (farthest != nullptr) {
            decided.outcome = SourceOutcome::Distance;
            decided.distance = farthest->distance;
            decided.decidingPollutant = farthest->pollutant;
        } else {
            decided.outcome = SourceOutcome::None;
        }
        sources.push_back(std::move(decided));
    }
    return sources;
}

}  // namespace quorvel::project
