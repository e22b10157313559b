#pragma once
// The combined field and the current rule as the results file's member
// "field". Internal to the project files.

#include "calc/project/files/json_layout.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// Distances and coordinates are given to 0.1 m (polygon and contour points
// to 0.01 m), areas to 0.1 m^2, concentrations to six significant digits,
// ratios and cuts to four.
OrderedJson FieldJson(const FieldResult& field);

}  // namespace quorvel::project
