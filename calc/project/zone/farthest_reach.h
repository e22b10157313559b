#pragma once

#include <vector>

#include "calc/project/zone/local_plane.h"
#include "calc/project/zone/plant_outline.h"

namespace quorvel::project::zone_geometry {

// The largest distance (m) from the plant's outline to a point of the zone,
// the zone taken from the exact discs: a point in some disc and not strictly
// inside the plant. 0 when the zone is empty or there is no boundary. Found to
// within 0.05 m + 1e-4 of itself.
//
// The farthest point is not always on a circle: where the zone fills a yard
// that the plant almost encloses, it can be the middle of the yard. So the
// search covers the whole zone: distance to the outline changes by no more
// than the distance moved, which bounds it over a square by its value at the
// middle plus the half-diagonal; squares that cannot beat the best point of
// the zone found so far are dropped, the rest split in four.
double FarthestReach(const std::vector<LocalDisc>& discs, const PlantOutline& plant);

}  // namespace quorvel::project::zone_geometry
