#include "calc/project/zone/plant_outline.h"

#include <cmath>

#include <boost/geometry/algorithms/append.hpp>
#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/distance.hpp>
#include <boost/geometry/algorithms/within.hpp>

namespace quorvel::project::zone_geometry {

PlantOutline::PlantOutline(const std::vector<SitePoint>& boundary, const LocalPlane& plane) {
    std::vector<Point> vertices;
    for (const SitePoint& vertex : boundary) {
        if (std::isfinite(vertex.x) && std::isfinite(vertex.y)) {
            vertices.push_back(plane.ToLocal(vertex));
        }
    }
    if (vertices.size() > 1 && vertices.front().x() == vertices.back().x() &&
        vertices.front().y() == vertices.back().y()) {
        vertices.pop_back();
    }
    if (vertices.empty()) return;

    for (const Point& vertex : vertices) bg::append(outline_, vertex);
    // Closed, and a line of at least two points even for a single vertex.
    bg::append(outline_, vertices.front());

    hasInside_ = vertices.size() >= 3;
    if (hasInside_) {
        for (const Point& vertex : vertices) bg::append(polygon_.outer(), vertex);
        bg::correct(polygon_);
    }
}

double PlantOutline::Distance(const Point& p) const {
    if (outline_.empty()) return 0.0;
    return bg::distance(p, outline_);
}

bool PlantOutline::StrictlyInside(const Point& p, double distance) const {
    return hasInside_ && distance > kOnEdge && bg::within(p, polygon_);
}

}  // namespace quorvel::project::zone_geometry
