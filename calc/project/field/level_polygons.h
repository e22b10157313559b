#pragma once
// Rings of a level as polygons, and the geometry of the plant around them.

#include <vector>

#include "calc/project/field/marching_squares.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/zone/local_plane.h"

namespace quorvel::project::field_geometry {

namespace bg = boost::geometry;
using zone_geometry::Linestring;
using zone_geometry::MultiPolygon;
using zone_geometry::Point;
using zone_geometry::Polygon;
using Plane = zone_geometry::LocalPlane;

// The region the rings enclose (outer rings counter-clockwise, holes clockwise).
MultiPolygon RegionOf(const std::vector<LevelRing>& rings, const Plane& plane);

// The plant's inside; empty without a usable boundary.
MultiPolygon PlantInside(const std::vector<SitePoint>& boundary, const Plane& plane);

// A polygon in site coordinates (rings without a closing vertex) in `plane`.
Polygon ToPolygon(const ZonePolygon& polygon, const Plane& plane);

// Polygons in site coordinates, rings without a closing vertex.
std::vector<ZonePolygon> ToZonePolygons(const MultiPolygon& region, const Plane& plane);

}  // namespace quorvel::project::field_geometry
