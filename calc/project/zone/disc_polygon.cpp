#include "calc/project/zone/disc_polygon.h"

#include <cmath>
#include <numbers>

#include <boost/geometry/algorithms/append.hpp>

namespace quorvel::project::zone_geometry {

namespace {

constexpr double kStep = 2 * std::numbers::pi / kDiscCorners;

// The circumradius that gives the polygon the disc's area, n/2 R^2 sin(2 pi / n) = pi r^2.
double Circumradius(double radius) {
    return radius * std::sqrt(2 * std::numbers::pi / (kDiscCorners * std::sin(kStep)));
}

}  // namespace

double DiscOvershoot(double radius) { return Circumradius(radius) - radius; }

Polygon DiscPolygon(const LocalDisc& disc, double phase) {
    const double circumradius = Circumradius(disc.radius);
    Polygon polygon;
    auto& ring = polygon.outer();
    ring.reserve(kDiscCorners + 1);
    for (int i = 0; i < kDiscCorners; ++i) {
        const double angle = phase - i * kStep;  // clockwise
        bg::append(ring, Point(disc.centre.x() + circumradius * std::cos(angle),
                               disc.centre.y() + circumradius * std::sin(angle)));
    }
    const Point first = ring.front();
    bg::append(ring, first);
    return polygon;
}

}  // namespace quorvel::project::zone_geometry
