#pragma once
// The results file of a project calculation (JSON, UTF-8): every emission's
// outcome, every source's distance, the zone's figures and the receptors.

#include <string>

#include "calc/project/project_results.h"

namespace quorvel::project {

inline constexpr char kResultsFormat[] = "quorvel-results";
inline constexpr int kResultsVersion = 1;

// The file's bytes: the members in their fixed order, two-space indentation,
// distances (members ending in "_m") as whole numbers where they are whole,
// null for what a row does not have, "finished" in ISO 8601 with the UTC
// offset (null when the clock could not be read), "program" from
// `results.program` ("Quorvel " + ProgramVersion() when that is empty). The
// zone's polygons are not written. The same results give the same bytes.
std::string ResultsJson(const ProjectResults& results);

}  // namespace quorvel::project
