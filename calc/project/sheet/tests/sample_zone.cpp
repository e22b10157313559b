#include <boost/geometry.hpp>

#include <cmath>
#include <numbers>

#include "calc/project/sheet/tests/project_records.h"

namespace quorvel::project::test_support {

// The part of the discs outside the boundary, as the zone's polygons.
ZoneResult ZoneOf(const std::vector<std::pair<SitePoint, double>>& discs,
                  const std::vector<SitePoint>& boundary) {
    namespace bg = boost::geometry;
    using Point = bg::model::d2::point_xy<double>;
    using Polygon = bg::model::polygon<Point, false>;  // counter-clockwise
    using Many = bg::model::multi_polygon<Polygon>;
    Many all;
    for (const auto& [centre, radius] : discs) {
        Polygon disc;
        for (int i = 0; i <= 360; ++i) {
            const double a = i * std::numbers::pi / 180;
            disc.outer().emplace_back(centre.x + radius * std::cos(a),
                                      centre.y + radius * std::sin(a));
        }
        Many joined;
        bg::union_(all, disc, joined);
        all = joined;
    }
    Polygon plant;
    for (const SitePoint& p : boundary) plant.outer().emplace_back(p.x, p.y);
    bg::correct(plant);
    Many zone;
    bg::difference(all, plant, zone);
    ZoneResult result;
    result.area = bg::area(zone);
    const auto ring = [](const auto& r) {
        std::vector<SitePoint> points;
        for (std::size_t i = 0; i + 1 < r.size(); ++i) points.push_back({r[i].x(), r[i].y()});
        return points;
    };
    for (const Polygon& polygon : zone) {
        ZonePolygon z;
        z.outer = ring(polygon.outer());
        for (const auto& hole : polygon.inners()) z.holes.push_back(ring(hole));
        result.polygons.push_back(std::move(z));
    }
    return result;
}

}  // namespace quorvel::project::test_support
