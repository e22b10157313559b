#pragma once

#include <string>
#include <vector>

#include "calc/project/project.h"

namespace quorvel::project {

// Why `boundary` cannot be a plant boundary (fewer than 3 distinct vertices,
// no area, or an outline that crosses or touches itself), in Chinese; empty
// when it can. An empty boundary (no boundary) is fine; a closing vertex
// equal to the first is accepted.
std::u16string BoundaryShapeFault(const std::vector<SitePoint>& boundary);

}  // namespace quorvel::project
