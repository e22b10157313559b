#include "calc/project/files/boundary_shape.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <exception>
#include <string>

// GCC 12 reports a variable of Boost.Geometry's rescale policy as maybe used
// uninitialized once inlined (it is set on every path that reads it).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/is_simple.hpp>
#include <boost/geometry/algorithms/is_valid.hpp>
#include <boost/geometry/algorithms/validity_failure_type.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/ring.hpp>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

namespace bg = boost::geometry;
using Point = bg::model::d2::point_xy<double>;
using Ring = bg::model::ring<Point, /*ClockWise=*/true, /*Closed=*/true>;
using Line = bg::model::linestring<Point>;

// The vertex number as a user counts it (from 1).
std::u16string Ordinal(std::size_t index) { return FromUtf8(std::to_string(index + 1)); }

}  // namespace

namespace {

std::u16string ShapeFault(const std::vector<SitePoint>& boundary) {
    std::vector<SitePoint> vertices = boundary;
    if (vertices.size() >= 2 && vertices.back() == vertices.front()) vertices.pop_back();

    for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (!std::isfinite(vertices[i].x) || !std::isfinite(vertices[i].y)) {
            return u"厂界第 " + Ordinal(i) + u" 个顶点的坐标不是有限的数值";
        }
    }
    if (vertices.size() < 3) return u"厂界至少要有 3 个不同的顶点";
    // The same vertex twice in a row: the outline touches itself there.
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        if (vertices[i] == vertices[i + 1]) {
            return u"厂界第 " + Ordinal(i) + u" 个和第 " + Ordinal(i + 1) + u" 个顶点重合";
        }
    }
    if (vertices.back() == vertices.front()) {
        return u"厂界的最后两个顶点都与第 1 个顶点重合";
    }

    // Every vertex on one line: nothing is enclosed.
    bool allOnOneLine = true;
    for (std::size_t i = 2; i < vertices.size() && allOnOneLine; ++i) {
        const double cross = (vertices[1].x - vertices[0].x) * (vertices[i].y - vertices[0].y) -
                             (vertices[1].y - vertices[0].y) * (vertices[i].x - vertices[0].x);
        allOnOneLine = cross == 0.0;
    }
    if (allOnOneLine) return u"厂界的顶点都在一条直线上，围成的面积为 0";

    // The outline as a closed line: one that crosses, touches or runs back
    // over itself is not simple.
    Line outline;
    for (const SitePoint& vertex : vertices) outline.push_back(Point(vertex.x, vertex.y));
    outline.push_back(outline.front());
    if (!bg::is_simple(outline)) return u"厂界的边相交或相接，不是简单多边形";

    Ring ring(outline.begin(), outline.end());
    const double area = bg::area(ring);
    if (!(std::fabs(area) > 0.0)) return u"厂界围成的面积为 0";
    // Either turning sense: the ring type wants the clockwise one.
    if (area < 0.0) std::reverse(ring.begin(), ring.end());

    bg::validity_failure_type failure = bg::no_failure;
    if (bg::is_valid(ring, failure)) return {};
    switch (failure) {
        case bg::failure_few_points:
        case bg::failure_wrong_topological_dimension:
            return u"厂界至少要有 3 个不同的顶点，且不能全在一条直线上";
        case bg::failure_spikes:
            return u"厂界有折回的尖角（边沿原路返回）";
        case bg::failure_self_intersections:
            return u"厂界的边相交或相接，不是简单多边形";
        case bg::failure_invalid_coordinate:
            return u"厂界顶点的坐标不是有限的数值";
        default:
            return u"厂界不是简单多边形";
    }
}

}  // namespace

std::u16string BoundaryShapeFault(const std::vector<SitePoint>& boundary) {
    if (boundary.empty()) return {};
    try {
        return ShapeFault(boundary);
    } catch (const std::exception&) {
        // The geometry refuses numbers it cannot work with exactly.
        return u"厂界顶点的坐标过大，无法检查厂界的形状";
    }
}

}  // namespace quorvel::project
