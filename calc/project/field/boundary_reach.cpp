// GCC 12 reports variables of Boost.Geometry's overlay (the envelope of its
// sections) as maybe used uninitialized once inlined here; they are set on
// every path that reads them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "calc/project/field/boundary_reach.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <boost/geometry/algorithms/buffer.hpp>
#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/union.hpp>
#include <boost/geometry/strategies/strategies.hpp>

namespace quorvel::project::field_geometry {
namespace {

// A nearest point this close (m) to a vertex is on it.
constexpr double kOnVertex = 1e-3;
// Rings are walked in steps of at most this (m).
constexpr double kWalkStep = 0.25;
// Points of each round end of a band: the area of a circle of 720 points is
// short of the exact one by 13 millionths.
constexpr int kCirclePoints = 720;

struct Nearest {
    double distance = 0.0;
    double t = 0.0;  // 0 at the side's first vertex, 1 at its last
};

Nearest ToSegment(const Point& p, const Point& a, const Point& b) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return {std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy)), t};
}

}  // namespace

BoundaryOutline::BoundaryOutline(const std::vector<SitePoint>& boundary, const Plane& plane) {
    for (const SitePoint& v : boundary) vertices_.push_back(plane.ToLocal(v));
    if (vertices_.size() > 3 && bg::equals(vertices_.back(), vertices_.front()))
        vertices_.pop_back();
}

double BoundaryOutline::Distance(const Point& p) const {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < vertices_.size(); ++i) {
        best = std::min(best,
                        ToSegment(p, vertices_[i], vertices_[(i + 1) % vertices_.size()]).distance);
    }
    return best;
}

std::vector<int> BoundaryOutline::NearestSides(const Point& p) const {
    const std::size_t n = vertices_.size();
    std::vector<Nearest> nearest(n);
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < n; ++i) {
        nearest[i] = ToSegment(p, vertices_[i], vertices_[(i + 1) % n]);
        best = std::min(best, nearest[i].distance);
    }
    std::vector<int> sides;
    auto add = [&](std::size_t side) {
        const int number = static_cast<int>(side) + 1;
        if (std::find(sides.begin(), sides.end(), number) == sides.end()) sides.push_back(number);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (nearest[i].distance > best + 1e-9) continue;
        add(i);
        const Point& a = vertices_[i];
        const Point& b = vertices_[(i + 1) % n];
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        if (nearest[i].t * length <= kOnVertex) add((i + n - 1) % n);
        if ((1.0 - nearest[i].t) * length <= kOnVertex) add((i + 1) % n);
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

MultiPolygon BoundaryOutline::Band(const std::vector<int>& sides, double distance) const {
    MultiPolygon band;
    if (!(distance > 0.0)) return band;
    const bg::strategy::buffer::distance_symmetric<double> width(distance);
    const bg::strategy::buffer::join_round join(kCirclePoints);
    const bg::strategy::buffer::end_round end(kCirclePoints);
    const bg::strategy::buffer::point_circle circle(kCirclePoints);
    const bg::strategy::buffer::side_straight side;
    for (int number : sides) {
        const auto i = static_cast<std::size_t>(number - 1);
        Linestring segment{vertices_[i], vertices_[(i + 1) % vertices_.size()]};
        MultiPolygon piece;
        bg::buffer(segment, piece, width, side, join, end, circle);
        MultiPolygon joined;
        bg::union_(band, piece, joined);
        band = std::move(joined);
    }
    return band;
}

Reach RegionReach(const MultiPolygon& region, const std::vector<Point>& inner,
                  const BoundaryOutline& outline) {
    Reach reach;
    auto consider = [&](const Point& p) {
        const double d = outline.Distance(p);
        if (!reach.at || d > reach.distance) {
            reach.distance = d;
            reach.at = p;
        }
        for (int side : outline.NearestSides(p)) {
            if (std::find(reach.sides.begin(), reach.sides.end(), side) == reach.sides.end())
                reach.sides.push_back(side);
        }
    };
    auto walk = [&](const Polygon::ring_type& ring) {
        for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
            const Point& a = ring[i];
            const Point& b = ring[i + 1];
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            const int steps = std::max(1, static_cast<int>(std::ceil(length / kWalkStep)));
            for (int s = 0; s < steps; ++s) {
                const double t = static_cast<double>(s) / steps;
                consider(Point(a.x() + t * (b.x() - a.x()), a.y() + t * (b.y() - a.y())));
            }
        }
    };
    for (const Polygon& polygon : region) {
        walk(polygon.outer());
        for (const auto& hole : polygon.inners()) walk(hole);
    }
    if (reach.at) {
        for (const Point& p : inner) consider(p);
    }
    std::sort(reach.sides.begin(), reach.sides.end());
    return reach;
}

}  // namespace quorvel::project::field_geometry
