#pragma once
// What the console tool prints: a line per emission and a table per source.

#include <string>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel {

// "[ 3/12] S1 罐区 / 非甲烷总烃: 150 m" for a finished emission, in UTF-8.
std::string ProgressLine(std::size_t done, std::size_t total, const project::Project& project,
                         const project::EmissionResult& result);

// The table of the sources, then the zone and the receptors, in UTF-8 with
// columns lined up for a terminal (CJK characters two columns wide).
std::string SummaryTable(const project::Project& project, const project::ProjectResults& results);

// The cut each source needs for each target, the largest of its emissions'
// cuts ("54.0%", "0%" when none is needed, "-" where the target does not
// apply); empty when no emission has limits.
std::string LimitsTable(const project::Project& project, const project::ProjectResults& results);

}  // namespace quorvel
