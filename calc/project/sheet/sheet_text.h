#pragma once
// Texts the project sheet's parts share: escaped project texts, the verdict
// as lines, the names of sources, units and outcomes.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/local_time.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// A UTF-8 text of the project, escaped for an element or attribute; a
// malformed byte becomes U+FFFD.
std::string Html(std::string_view utf8);

// A text with CR LF line ends, escaped, each line end as <br/>.
std::string LinesHtml(std::u16string_view text);

// "S1（罐区）", or "S1" when the source has no name or is not in the project;
// plain UTF-8, not escaped.
std::string SourceTitle(const Project& project, const std::string& id);

// "g/s", "kg/hr" or "t/a".
std::string RateUnitText(RateUnit unit);

// "2026-12-08 14:03:21"; "（未知）" when the time is unknown.
std::string DateTimeText(const LocalTime& time);

// The project's emission that `result` at `index` of the results stands
// for: the one at the same index when source and pollutant agree, else the
// first that has them; null when there is none.
const Emission* EmissionOf(const Project& project, std::size_t index, const EmissionResult& result);

// "150 m"; "—" for none.
std::string Metres(std::optional<double> distance);

// The parts one after another with `separator` between them.
std::string Joined(const std::vector<std::string>& parts, const std::string& separator);

// A table cell holding `html` (already escaped), with the CSS class when given.
std::string Cell(const std::string& html, const char* cssClass = nullptr);

// A row of a two-column table: the heading and the value (both HTML).
std::string Pair(const std::string& heading, const std::string& html);

// A table's head row of the given headings (HTML).
std::string Head(std::initializer_list<const char*> headings);

}  // namespace quorvel::project
