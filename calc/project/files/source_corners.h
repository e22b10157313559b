#pragma once
// Where a source's rectangle lies on the site.

#include <vector>

#include "calc/project/project.h"

namespace quorvel::project {

// The corners (site coordinates, m) of the source's rectangle,
// counter-clockwise, its length side turned `angle` degrees from the x axis;
// empty when a number of it is not finite.
std::vector<SitePoint> SourceCorners(const Source& source);

}  // namespace quorvel::project
