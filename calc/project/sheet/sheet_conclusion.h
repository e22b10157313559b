#pragma once
// What the project sheet says in words: why a result is not final, and the
// conclusion. Plain UTF-8 texts, not escaped.

#include <string>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Empty when every source's result is final. Otherwise the first line says
// that the result is not final, then one line per `beyond` source (which
// emission still exceeds its standard at 5000 m, and that its emission must
// be cut and computed again), one per source with rows that failed (each
// failed pollutant with its message), and a last line that the zone is drawn
// from the other sources only.
std::vector<std::string> NotFinalLines(const Project& project, const ProjectResults& results);

// The conclusion paragraph: each source's distance, the zone's area and
// farthest reach beyond the boundary, and which receptors lie inside the
// zone (or that none does).
std::string ConclusionText(const Project& project, const ProjectResults& results);

}  // namespace quorvel::project
