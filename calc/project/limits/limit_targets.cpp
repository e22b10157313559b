#include "calc/project/limits/limit_targets.h"

#include <cmath>

#include "calc/project/zone/zone.h"

namespace quorvel::project {

std::vector<Target> TargetsOf(const Project& project, const Source& source,
                              const std::vector<ReceptorResult>& receptors) {
    std::vector<Target> targets;
    if (const std::optional<double> fence = DistanceInsidePlant(source.centre, project.boundary)) {
        targets.push_back(Target{TargetKind::Boundary, *fence, false});
    }
    std::optional<double> nearest;
    for (std::size_t i = 0; i < project.receptors.size() && i < receptors.size(); ++i) {
        if (receptors[i].inPlant) continue;
        const SitePoint& p = project.receptors[i].position;
        const double d = std::hypot(p.x - source.centre.x, p.y - source.centre.y);
        if (std::isfinite(d) && (!nearest || d < *nearest)) nearest = d;
    }
    if (nearest) targets.push_back(Target{TargetKind::Receptors, *nearest, true});
    if (project.targetDistance && *project.targetDistance > 0) {
        targets.push_back(Target{TargetKind::Distance, *project.targetDistance, false});
    }
    return targets;
}

bool MeetsTarget(EmissionOutcome outcome, std::optional<double> distance, const Target& target) {
    switch (outcome) {
        case EmissionOutcome::None:
            return true;
        case EmissionOutcome::Distance:
            return distance &&
                   (target.strict ? *distance < target.distance : *distance <= target.distance);
        case EmissionOutcome::Beyond:
        case EmissionOutcome::Error:
            return false;
    }
    return false;
}

}  // namespace quorvel::project
