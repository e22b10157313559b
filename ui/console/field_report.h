#pragma once
// What the console tool prints of the combined field and the current rule.

#include <string>

#include "calc/project/project_results.h"

namespace quorvel {

// A table of the pollutants (S, the largest concentration outside the plant
// and its ratio, the cut, the distance beyond the boundary), the protection
// distance with its deciding pollutant, the exceeding sides and the area,
// then the receptors with their largest ratio; in UTF-8.
std::string FieldTable(const project::FieldResult& field);

}  // namespace quorvel
