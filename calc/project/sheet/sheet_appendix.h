#pragma once

#include <string>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// The sheet's appendix: for every emission that kept its run's record, a
// compact figure of concentration against distance and the table of every
// discrete distance (distance, concentration, share of S, stability, wind
// speed, wind direction), so that each number of the sheet can be traced to
// the model's report. Empty when no emission has a record.
std::string AppendixHtml(const Project& project, const ProjectResults& results);

}  // namespace quorvel::project
