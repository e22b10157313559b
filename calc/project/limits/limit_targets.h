#pragma once
// The distances a source's disc should keep within, for the emission limits.

#include <optional>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

enum class TargetKind { Boundary, Receptors, Distance };

// A distance D (m) a source's distance d must meet: d <= D, or d < D when
// `strict` (a disc must not reach a receptor).
struct Target {
    TargetKind kind = TargetKind::Distance;
    double distance = 0.0;
    bool strict = false;
};

// The targets that apply to `source`: the boundary (from its centre to the
// outline, when the centre lies inside the plant), the receptors (the nearest
// one outside the plant; `receptors` are the project's, checked against the
// zone, in file order) and the project's target distance.
std::vector<Target> TargetsOf(const Project& project, const Source& source,
                              const std::vector<ReceptorResult>& receptors);

// Whether an outcome meets a target: None meets every one, Beyond and Error
// none, a distance d when d <= D (d < D for a strict one).
bool MeetsTarget(EmissionOutcome outcome, std::optional<double> distance, const Target& target);

}  // namespace quorvel::project
