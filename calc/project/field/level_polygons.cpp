// GCC 12 reports variables of Boost.Geometry's overlay (the envelope of its
// sections) as maybe used uninitialized once inlined here; they are set on
// every path that reads them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "calc/project/field/level_polygons.h"

#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/covered_by.hpp>
#include <boost/geometry/algorithms/within.hpp>
#include <boost/geometry/strategies/strategies.hpp>

namespace quorvel::project::field_geometry {
namespace {

using Ring = Polygon::ring_type;

Ring ToRing(const std::vector<SitePoint>& points, const Plane& plane) {
    Ring ring;
    for (const SitePoint& p : points) ring.push_back(plane.ToLocal(p));
    if (!ring.empty()) ring.push_back(ring.front());
    return ring;
}

// Signed area: positive for a counter-clockwise ring.
double SignedArea(const std::vector<SitePoint>& points) {
    double twice = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SitePoint& a = points[i];
        const SitePoint& b = points[(i + 1) % points.size()];
        twice += (a.x - points.front().x) * (b.y - points.front().y) -
                 (b.x - points.front().x) * (a.y - points.front().y);
    }
    return 0.5 * twice;
}

}  // namespace

MultiPolygon RegionOf(const std::vector<LevelRing>& rings, const Plane& plane) {
    std::vector<Polygon> outers;
    std::vector<double> outerArea;
    std::vector<Ring> holes;
    for (const LevelRing& r : rings) {
        const double area = SignedArea(r.points);
        if (area > 0.0) {
            Polygon polygon;
            polygon.outer() = ToRing(r.points, plane);
            bg::correct(polygon);
            outers.push_back(std::move(polygon));
            outerArea.push_back(area);
        } else if (area < 0.0) {
            holes.push_back(ToRing(r.points, plane));
        }
    }
    // Each hole goes into the smallest outer ring around it.
    for (Ring& hole : holes) {
        std::size_t chosen = outers.size();
        for (std::size_t i = 0; i < outers.size(); ++i) {
            if (!bg::covered_by(hole.front(), outers[i].outer())) continue;
            if (chosen == outers.size() || outerArea[i] < outerArea[chosen]) chosen = i;
        }
        if (chosen == outers.size()) continue;
        Polygon& polygon = outers[chosen];
        polygon.inners().push_back(std::move(hole));
        bg::correct(polygon);
    }
    // Rings of one level never cross, so the polygons are apart.
    MultiPolygon region;
    for (Polygon& polygon : outers) region.push_back(std::move(polygon));
    return region;
}

MultiPolygon PlantInside(const std::vector<SitePoint>& boundary, const Plane& plane) {
    MultiPolygon plant;
    if (boundary.size() < 3) return plant;
    std::vector<SitePoint> vertices = boundary;
    if (vertices.size() > 3 && vertices.back() == vertices.front()) vertices.pop_back();
    Polygon polygon;
    polygon.outer() = ToRing(vertices, plane);
    bg::correct(polygon);
    plant.push_back(std::move(polygon));
    return plant;
}

Polygon ToPolygon(const ZonePolygon& polygon, const Plane& plane) {
    Polygon converted;
    converted.outer() = ToRing(polygon.outer, plane);
    for (const auto& hole : polygon.holes) converted.inners().push_back(ToRing(hole, plane));
    bg::correct(converted);
    return converted;
}

std::vector<ZonePolygon> ToZonePolygons(const MultiPolygon& region, const Plane& plane) {
    std::vector<ZonePolygon> polygons;
    auto convert = [&](const Ring& ring) {
        std::vector<SitePoint> points;
        for (std::size_t i = 0; i + 1 < ring.size(); ++i) points.push_back(plane.ToSite(ring[i]));
        return points;
    };
    for (const Polygon& p : region) {
        ZonePolygon zone;
        zone.outer = convert(p.outer());
        for (const Ring& hole : p.inners()) zone.holes.push_back(convert(hole));
        polygons.push_back(std::move(zone));
    }
    return polygons;
}

}  // namespace quorvel::project::field_geometry
