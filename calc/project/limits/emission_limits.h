#pragma once
// The emission limits of a computed project: for every emission and every
// target of its source, the largest rate whose calculation still meets the
// target, settled with real runs through the same calculation path.

#include <cstddef>
#include <functional>
#include <stop_token>

#include "calc/project/batch/calculation_pool.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Told after each round of runs with the number of runs done so far.
using LimitsProgress = std::function<void(std::size_t runsDone)>;

// Fills `limits` of every emission of `results` that was computed (never of
// an Error row), `results` being RunProject's for `project`. The proportion of
// concentration to rate points close to each limit from the emission's own
// report; a real run at that rate checks that it meets the target, and its
// report that 0.1 % more does not; a few more runs settle a limit that the
// first does not. Runs several at a time on the pool. When `stop` is
// requested the limits not yet settled are left out. Never throws.
void ComputeLimits(const Project& project, ProjectResults& results, const PoolSettings& settings,
                   const LauncherFactory& makeLauncher, const LimitsProgress& progress,
                   std::stop_token stop = {});

}  // namespace quorvel::project
