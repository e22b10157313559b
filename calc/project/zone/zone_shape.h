#pragma once

#include <optional>
#include <vector>

#include "calc/project/zone/local_plane.h"
#include "calc/project/zone/plant_outline.h"

namespace quorvel::project::zone_geometry {

// The zone as polygons: the union of the discs' polygons less the inside of
// the plant. Empty optional when the overlay failed on every try (each try
// turns the polygons' corners a little, away from the coincidences that make
// an overlay fail).
std::optional<MultiPolygon> ZoneShape(const std::vector<LocalDisc>& discs,
                                      const PlantOutline& plant);

}  // namespace quorvel::project::zone_geometry
