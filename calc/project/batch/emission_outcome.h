#pragma once

#include <string>

#include "calc/project/project_results.h"
#include "calc/result.h"
#include "calc/run_record.h"

namespace quorvel::project {

// The outcome a verdict names: a distance, beyond 5000 m, none, or Error for
// a verdict of no known kind.
EmissionOutcome OutcomeOfVerdict(const Verdict& verdict);

// The result of an emission whose calculation ended with `record`: its
// outcome from the verdict, S, and the report's largest summary maximum with
// its distance and its share of S. The record is kept for the sheet.
EmissionResult ComputedEmission(const Emission& emission, RunRecord record);

// The result of an emission that could not be computed, with its message.
EmissionResult FailedEmission(const Emission& emission, std::u16string message);

}  // namespace quorvel::project
