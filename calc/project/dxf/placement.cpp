#include "calc/project/dxf/placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvel::project::dxf {
namespace {

struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 Unit(const Vector3& v) {
    const double length = std::hypot(v.x, v.y, v.z);
    return length > 0.0 ? Vector3{v.x / length, v.y / length, v.z / length} : Vector3{1, 0, 0};
}

}  // namespace

Placement Placement::Then(const Placement& outer) const {
    return Placement{outer.xx * xx + outer.xy * yx,
                     outer.xx * xy + outer.xy * yy,
                     outer.yx * xx + outer.yy * yx,
                     outer.yx * xy + outer.yy * yy,
                     outer.xx * dx + outer.xy * dy + outer.dx,
                     outer.yx * dx + outer.yy * dy + outer.dy};
}

double Placement::LargestScale() const { return std::max(std::hypot(xx, yx), std::hypot(xy, yy)); }

Placement OcsToWorld(const Direction& extrusion, double elevation) {
    const Vector3 normal = Unit({extrusion.x, extrusion.y, extrusion.z});
    if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0) {
        return Placement{1, 0, 0, 1, 0, 0};  // the usual case, exactly
    }
    constexpr double kNearAxis = 1.0 / 64.0;
    const Vector3 axisX = Unit(std::fabs(normal.x) < kNearAxis && std::fabs(normal.y) < kNearAxis
                                   ? Cross({0, 1, 0}, normal)
                                   : Cross({0, 0, 1}, normal));
    const Vector3 axisY = Unit(Cross(normal, axisX));
    return Placement{
        axisX.x, axisY.x, axisX.y, axisY.y, elevation * normal.x, elevation * normal.y};
}

Placement BlockToInsert(const Entity& insert, DrawingPoint base, int column, int row) {
    const double turn = insert.rotation * std::numbers::pi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    const DrawingPoint at = insert.vertices.empty() ? DrawingPoint{} : insert.vertices.front().at;
    // Local: (p - base) scaled, plus the grid cell's offset; then turned and moved.
    const double ox = -base.x * insert.scaleX + column * insert.columnSpacing;
    const double oy = -base.y * insert.scaleY + row * insert.rowSpacing;
    return Placement{c * insert.scaleX, -s * insert.scaleY,     s * insert.scaleX,
                     c * insert.scaleY, c * ox - s * oy + at.x, s * ox + c * oy + at.y};
}

}  // namespace quorvel::project::dxf
