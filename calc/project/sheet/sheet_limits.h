#pragma once
// What the project sheet says of the emission limits: a table of the
// largest rate for each target, and the cuts the conclusion asks for.

#include <optional>
#include <string>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// A limit as the limits table shows it: "0.6 g/s（削减 40.0%）", "（无需削减）"
// when no cut is needed, "≈" after one that real runs could not confirm to
// 0.1 %, and "—" where the target does not apply.
std::string LimitCellText(const std::optional<RateLimit>& limit, RateUnit unit);

// The limits table (source, pollutant, rate now, the largest rate and cut for
// each target) as HTML; empty when no emission has limits.
std::string LimitsTableHtml(const Project& project, const ProjectResults& results);

// One sentence (plain UTF-8, not escaped) for each source whose control
// range leaves the plant or reaches a receptor: by how much each of its
// pollutants that decides it must be cut.
std::vector<std::string> CutSentences(const Project& project, const ProjectResults& results);

}  // namespace quorvel::project
