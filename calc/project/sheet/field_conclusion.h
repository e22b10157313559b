#pragma once
// What the current rule concludes, in sentences that the sheet and the
// project window both show.

#include <string>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// The current rule's conclusion as sentences (plain UTF-8, not escaped, each
// ending with "。"); empty when the combined field was not computed. In order:
// that the result is not final and why (a pollutant's field not final, with
// its note); each pollutant whose field failed, with its reason; then either
// that the rule needs a boundary, or that no protection area is needed, or
// the protection distance D (rounded up to the whole metre) with its
// deciding pollutant, the exceeding sides and the area; which receptors lie
// in the area (or that none does); and the cut of each exceeding pollutant's
// emissions that would bring its exceedance back to the boundary and so
// remove the area.
std::vector<std::string> FieldConclusionSentences(const Project& project,
                                                  const ProjectResults& results);

// The first of those sentences alone: that the current rule's result is not
// final and why, and each pollutant whose field failed; empty when every
// pollutant's field is final or the field was not computed.
std::vector<std::string> FieldNotFinalSentences(const ProjectResults& results);

}  // namespace quorvel::project
