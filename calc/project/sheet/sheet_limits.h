#pragma once
// What the project sheet says of the emission limits: a table of the
// largest rate for each target, and the cuts the conclusion asks for.

#include <string>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// The limits table (source, pollutant, rate now, the largest rate and cut for
// each target) as HTML; empty when no emission has limits.
std::string LimitsTableHtml(const Project& project, const ProjectResults& results);

// One sentence (plain UTF-8, not escaped) for each source whose control
// range leaves the plant or reaches a receptor: by how much each of its
// pollutants that decides it must be cut.
std::vector<std::string> CutSentences(const Project& project, const ProjectResults& results);

}  // namespace quorvel::project
