#include "calc/project/dxf/outline_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace quorvel::project::dxf {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double SignedArea(const std::vector<SitePoint>& outline) {
    double twice = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const SitePoint& a = outline[i];
        const SitePoint& b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0;
}

// The angle of a direction, degrees in [0, 180).
double HalfTurnAngle(double dx, double dy) {
    double angle = std::atan2(dy, dx) / kDegree;
    if (angle < 0.0) angle += 180.0;
    if (angle >= 180.0) angle -= 180.0;
    return angle;
}

double Cross(const SitePoint& o, const SitePoint& a, const SitePoint& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The convex hull, counter-clockwise, without a closing vertex (Andrew's
// monotone chain).
std::vector<SitePoint> ConvexHull(std::vector<SitePoint> points) {
    std::sort(points.begin(), points.end(), [](const SitePoint& a, const SitePoint& b) {
        return a.x < b.x || (a.x == b.x && a.y < b.y);
    });
    std::vector<SitePoint> hull(2 * points.size());
    std::size_t k = 0;
    for (const SitePoint& p : points) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0.0) --k;
        hull[k++] = p;
    }
    const std::size_t lower = k + 1;
    for (std::size_t i = points.size() - 1; i-- > 0;) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0.0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k > 0 ? k - 1 : 0);
    return hull;
}

}  // namespace

double OutlineArea(const std::vector<SitePoint>& outline) { return std::fabs(SignedArea(outline)); }

SitePoint OutlineCentroid(const std::vector<SitePoint>& outline) {
    if (outline.empty()) return {};
    // Around the first vertex, so that large coordinates keep their digits.
    const SitePoint origin = outline.front();
    double twiceArea = 0.0;
    double cx = 0.0;
    double cy = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const double ax = outline[i].x - origin.x;
        const double ay = outline[i].y - origin.y;
        const double bx = outline[(i + 1) % outline.size()].x - origin.x;
        const double by = outline[(i + 1) % outline.size()].y - origin.y;
        const double cross = ax * by - bx * ay;
        twiceArea += cross;
        cx += (ax + bx) * cross;
        cy += (ay + by) * cross;
    }
    if (std::fabs(twiceArea) < 1e-12) {
        SitePoint mean;
        for (const SitePoint& p : outline) {
            mean.x += p.x / static_cast<double>(outline.size());
            mean.y += p.y / static_cast<double>(outline.size());
        }
        return mean;
    }
    return {origin.x + cx / (3.0 * twiceArea), origin.y + cy / (3.0 * twiceArea)};
}

bool OutlineContains(const std::vector<SitePoint>& outline, SitePoint point) {
    bool inside = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const SitePoint& a = outline[i];
        const SitePoint& b = outline[j];
        if ((a.y > point.y) != (b.y > point.y) &&
            point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

std::optional<SourceRectangle> ExactRectangle(const std::vector<SitePoint>& outline) {
    if (outline.size() != 4) return std::nullopt;
    double sides[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const SitePoint& a = outline[i];
        const SitePoint& b = outline[(i + 1) % 4];
        const SitePoint& c = outline[(i + 2) % 4];
        const double ux = b.x - a.x;
        const double uy = b.y - a.y;
        const double vx = c.x - b.x;
        const double vy = c.y - b.y;
        sides[i] = std::hypot(ux, uy);
        const double next = std::hypot(vx, vy);
        if (!(sides[i] > 0.0) || !(next > 0.0)) return std::nullopt;
        // The cosine of the corner's angle: within 1 degree of a right angle.
        if (std::fabs(ux * vx + uy * vy) / (sides[i] * next) > std::sin(1.0 * kDegree)) {
            return std::nullopt;
        }
    }
    SourceRectangle rectangle;
    for (const SitePoint& p : outline) {
        rectangle.centre.x += p.x / 4.0;
        rectangle.centre.y += p.y / 4.0;
    }
    const double first = (sides[0] + sides[2]) / 2.0;
    const double second = (sides[1] + sides[3]) / 2.0;
    // The length side's direction: the two sides of the pair, the second reversed.
    const std::size_t along = first >= second ? 0 : 1;
    const SitePoint& a = outline[along];
    const SitePoint& b = outline[along + 1];
    const SitePoint& c = outline[along + 2];
    const SitePoint& d = outline[(along + 3) % 4];
    rectangle.length = std::max(first, second);
    rectangle.width = std::min(first, second);
    rectangle.angleDeg = HalfTurnAngle((b.x - a.x) + (c.x - d.x), (b.y - a.y) + (c.y - d.y));
    return rectangle;
}

std::optional<SourceRectangle> SmallestEnclosingRectangle(const std::vector<SitePoint>& outline) {
    if (outline.size() < 3 || !(OutlineArea(outline) > 0.0)) return std::nullopt;
    // Around the first vertex, so that large coordinates keep their digits.
    const SitePoint origin = outline.front();
    std::vector<SitePoint> points;
    for (const SitePoint& p : outline) points.push_back({p.x - origin.x, p.y - origin.y});
    const std::vector<SitePoint> hull = ConvexHull(std::move(points));
    // The smallest rectangle has a side along a side of the hull.
    double bestArea = std::numeric_limits<double>::infinity();
    SourceRectangle best;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const SitePoint& next = hull[(i + 1) % hull.size()];
        const double dx = next.x - hull[i].x;
        const double dy = next.y - hull[i].y;
        const double length = std::hypot(dx, dy);
        if (!(length > 0.0)) continue;
        const double ux = dx / length;
        const double uy = dy / length;
        double minU = std::numeric_limits<double>::infinity();
        double maxU = -minU;
        double minV = minU;
        double maxV = -minU;
        for (const SitePoint& p : hull) {
            const double u = p.x * ux + p.y * uy;
            const double v = -p.x * uy + p.y * ux;
            minU = std::min(minU, u);
            maxU = std::max(maxU, u);
            minV = std::min(minV, v);
            maxV = std::max(maxV, v);
        }
        const double area = (maxU - minU) * (maxV - minV);
        if (!(area < bestArea)) continue;
        bestArea = area;
        const double midU = (minU + maxU) / 2.0;
        const double midV = (minV + maxV) / 2.0;
        best.centre = {origin.x + midU * ux - midV * uy, origin.y + midU * uy + midV * ux};
        const bool alongU = maxU - minU >= maxV - minV;
        best.length = alongU ? maxU - minU : maxV - minV;
        best.width = alongU ? maxV - minV : maxU - minU;
        best.angleDeg = alongU ? HalfTurnAngle(ux, uy) : HalfTurnAngle(-uy, ux);
    }
    if (!std::isfinite(bestArea)) return std::nullopt;
    return best;
}

}  // namespace quorvel::project::dxf
