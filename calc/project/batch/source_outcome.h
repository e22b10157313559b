#pragma once

#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Each source's outcome from its emissions' results (`emissions` in the
// project's emission order): Beyond when any emission is; else Incomplete
// when any is Error; else Distance with the largest distance and its
// pollutant (the first in file order on a tie); None when every emission is
// None or the source has none. In the project's source order.
std::vector<SourceResult> DecideSources(const Project& project,
                                        const std::vector<EmissionResult>& emissions);

}  // namespace quorvel::project
