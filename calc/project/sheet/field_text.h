#pragma once
// What the current rule's figures, section and conclusion share: the
// protection distance as the sheet writes it and the look-ups of a
// pollutant's and a receptor's field results.

#include <cstddef>
#include <string>

#include "calc/project/project_results.h"

namespace quorvel::project {

// A distance (m, 0 or more) as the sheet and the window give it: taken to
// the 0.1 m the results hold, then rounded up to the whole metre: "87 m"
// for 86.4; "—" for a number that is not finite.
std::string RoundedUpMetres(double distance);

// A contour's level as a share of S: "1.0 S", "0.5 S".
std::string LevelText(double ratio);

// The field result of `pollutant` (exact name); null when there is none.
const PollutantFieldResult* FieldPollutantOf(const FieldResult& field,
                                             const std::string& pollutant);

// The field result of the project's receptor at `index` named `name`: the
// one at the same index when the name agrees, else the first of that name;
// null when there is none.
const ReceptorFieldResult* FieldReceptorOf(const FieldResult& field, std::size_t index,
                                           const std::string& name);

// The receptor's result for `pollutant`; null when there is none.
const ReceptorPollutant* ReceptorPollutantOf(const ReceptorFieldResult& receptor,
                                             const std::string& pollutant);

}  // namespace quorvel::project
