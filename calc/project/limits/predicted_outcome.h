#pragma once
// What a calculation would give at another rate, from one run's report: the
// concentrations are proportional to the rate, so the verdict at `factor`
// times the rate is the verdict of the same report against S / factor.

#include <optional>

#include "calc/project/limits/limit_targets.h"
#include "calc/run_record.h"

namespace quorvel::project {

struct PredictedOutcome {
    EmissionOutcome outcome = EmissionOutcome::Error;
    std::optional<double> distance;  // m, for Distance
};

// The outcome at `factor` (> 0) times the record's rate.
PredictedOutcome PredictAt(const RunRecord& record, double factor);

// The largest factor of the record's rate at which the predicted outcome
// meets `target`: just below (by a few parts in ten thousand) the factor at
// which one more discrete distance reaches S and the distance grows past the
// target. 0 when the record holds no usable report.
double PredictedLimitFactor(const RunRecord& record, const Target& target);

}  // namespace quorvel::project
