#include <algorithm>

#include <boost/geometry/algorithms/area.hpp>

#include "calc/project/zone/farthest_reach.h"
#include "calc/project/zone/local_plane.h"
#include "calc/project/zone/plant_outline.h"
#include "calc/project/zone/zone.h"
#include "calc/project/zone/zone_shape.h"

namespace quorvel::project {
namespace {

using namespace zone_geometry;

// A ring as drawn: site coordinates, without the closing vertex.
std::vector<SitePoint> SiteRing(const Polygon::ring_type& ring, const LocalPlane& plane) {
    std::vector<SitePoint> points;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) points.push_back(plane.ToSite(ring[i]));
    return points;
}

std::vector<ZonePolygon> SitePolygons(const MultiPolygon& shape, const LocalPlane& plane) {
    std::vector<ZonePolygon> polygons;
    for (const Polygon& polygon : shape) {
        if (!(bg::area(polygon) > 0)) continue;  // slivers the overlay left behind
        ZonePolygon drawn;
        drawn.outer = SiteRing(polygon.outer(), plane);
        for (const auto& hole : polygon.inners()) drawn.holes.push_back(SiteRing(hole, plane));
        polygons.push_back(std::move(drawn));
    }
    return polygons;
}

}  // namespace

ZoneResult ComputeZone(const std::vector<Disc>& discs, const std::vector<SitePoint>& boundary,
                       bool bounded) {
    ZoneResult result;
    result.bounded = bounded;
    const LocalPlane plane = LocalPlane::Around(discs, boundary);
    const std::vector<LocalDisc> local = LocalDiscs(discs, plane);
    const PlantOutline plant(boundary, plane);
    if (plant.Present()) result.maxBeyondBoundary = FarthestReach(local, plant);
    if (local.empty()) return result;

    const std::optional<MultiPolygon> shape = ZoneShape(local, plant);
    if (!shape) {
        result.bounded = false;
        result.error = u"防护区域的图形运算失败，无法给出其面积和图形。";
        return result;
    }
    result.area = std::max(0.0, bg::area(*shape));
    result.polygons = SitePolygons(*shape, plane);
    return result;
}

}  // namespace quorvel::project
