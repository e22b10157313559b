#include "calc/project/dxf/drawing_shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

constexpr int kDeepestNesting = 16;
// More entities than any site plan holds; it stops a MINSERT grid or blocks
// inserted in blocks from growing without end.
constexpr std::size_t kMostEntities = 2'000'000;
constexpr int kMostArcSegments = 2048;
constexpr double kDegree = std::numbers::pi / 180.0;

std::u16string Number(long long number) { return FromUtf8(std::to_string(number)); }

class Visitor {
  public:
    Visitor(const Drawing& drawing, const std::function<void(const PlacedEntity&)>& visit)
        : drawing_(drawing), visit_(visit) {}

    Status Run() {
        static const std::string kNoLayer;
        static const std::u16string kNoPlace;
        const std::vector<std::string> none;
        const Placement identity;
        return VisitAll(drawing_.entities, identity, kNoLayer, none, kNoPlace, 0);
    }

  private:
    Status VisitAll(const std::vector<Entity>& entities, const Placement& placement,
                    const std::string& insertLayer, const std::vector<std::string>& insertLayers,
                    const std::u16string& insertPlace, int depth) {
        for (const Entity& entity : entities) {
            if (++count_ > kMostEntities) {
                return Fail(u"图形展开后的图元超过 " + Number(kMostEntities) +
                            u" 个（块的插入过多），无法导入");
            }
            const std::string& layer =
                !insertLayers.empty() && entity.layer == "0" ? insertLayer : entity.layer;
            visit_(PlacedEntity{entity, placement, layer, insertLayers, insertPlace});
            if (entity.kind != EntityKind::Insert) continue;
            if (const Status done =
                    VisitInsert(entity, placement, layer, insertLayers, insertPlace, depth);
                !done) {
                return done;
            }
        }
        return {};
    }

    Status VisitInsert(const Entity& insert, const Placement& placement, const std::string& layer,
                       const std::vector<std::string>& insertLayers,
                       const std::u16string& insertPlace, int depth) {
        const auto found = drawing_.blocks.find(NameKey(insert.block));
        if (found == drawing_.blocks.end()) return {};  // nothing to draw
        const Block& block = found->second;
        if (depth + 1 > kDeepestNesting) {
            return Fail(EntityPlace(insert) + u"：块 “" + FromUtf8(block.name) + u"” 嵌套超过 " +
                        Number(kDeepestNesting) + u" 层（块可能插入了自身）");
        }
        std::vector<std::string> layers = insertLayers;
        layers.push_back(layer);
        const std::u16string place = u"（块 “" + FromUtf8(block.name) + u"” 中，由" +
                                     EntityPlace(insert) + u"插入）" + insertPlace;
        const Placement ocs = OcsToWorld(insert.extrusion, insert.elevation);
        const int columns = std::max(1, insert.columns);
        const int rows = std::max(1, insert.rows);
        if (static_cast<double>(columns) * rows > static_cast<double>(kMostEntities)) {
            return Fail(EntityPlace(insert) + u"：MINSERT 的行列数过多");
        }
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const Placement inner =
                    BlockToInsert(insert, block.base, column, row).Then(ocs).Then(placement);
                if (const Status done =
                        VisitAll(block.entities, inner, layer, layers, place, depth + 1);
                    !done) {
                    return done;
                }
            }
        }
        return {};
    }

    const Drawing& drawing_;
    const std::function<void(const PlacedEntity&)>& visit_;
    std::size_t count_ = 0;
};

DrawingPoint Lerp(DrawingPoint a, DrawingPoint b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// The points from `from` to `to` along a polyline side of `bulge`, without `to`.
void AppendSide(std::vector<DrawingPoint>& points, DrawingPoint from, DrawingPoint to, double bulge,
                double tolerance) {
    points.push_back(from);
    const double chord = std::hypot(to.x - from.x, to.y - from.y);
    if (bulge == 0.0 || !(chord > 0.0) || !std::isfinite(bulge)) return;
    const double sweep = 4.0 * std::atan(bulge);  // radians, counter-clockwise when positive
    const double radius = chord / (2.0 * std::fabs(std::sin(sweep / 2.0)));
    // The centre lies to the left of the chord for a counter-clockwise arc
    // of less than half a turn.
    const DrawingPoint middle = Lerp(from, to, 0.5);
    const double offset = chord / 2.0 / std::tan(sweep / 2.0);
    const DrawingPoint centre{middle.x - (to.y - from.y) / chord * offset,
                              middle.y + (to.x - from.x) / chord * offset};
    const double start = std::atan2(from.y - centre.y, from.x - centre.x) / kDegree;
    std::vector<DrawingPoint> arc = ArcPoints(centre, radius, start, sweep / kDegree, tolerance);
    if (arc.size() > 2) points.insert(points.end(), arc.begin() + 1, arc.end() - 1);
}

double Distance(DrawingPoint a, DrawingPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

class ShapeMaker {
  public:
    ShapeMaker(const ShapeSettings& settings, std::vector<Shape>& shapes)
        : settings_(settings), shapes_(shapes) {}

    void Add(const PlacedEntity& placed) {
        const Entity& entity = placed.entity;
        const Placement ocs =
            OcsToWorld(entity.extrusion, entity.elevation).Then(placed.blockPlacement);
        // Lengths in the entity's own coordinates that stay within the tolerance.
        const double scale = std::max(ocs.LargestScale(), 1e-12);
        const double tolerance = settings_.arcTolerance / scale;
        Shape shape;
        shape.layer = placed.layer;
        shape.insertLayers = placed.insertLayers;
        switch (entity.kind) {
            case EntityKind::Line:
                if (entity.vertices.size() < 2) return;
                shape.kind = ShapeKind::Path;
                for (const PolylineVertex& end : entity.vertices)
                    shape.points.push_back(placed.blockPlacement.Apply(end.at));
                break;
            case EntityKind::Arc: {
                double sweep = std::fmod(entity.endAngle - entity.startAngle, 360.0);
                if (sweep <= 0.0) sweep += 360.0;
                shape.kind = ShapeKind::Path;
                for (const DrawingPoint& p :
                     ArcPoints(entity.centre, entity.radius, entity.startAngle, sweep, tolerance))
                    shape.points.push_back(ocs.Apply(p));
                break;
            }
            case EntityKind::Circle: {
                shape.kind = ShapeKind::Circle;
                shape.centre = ocs.Apply(entity.centre);
                std::vector<DrawingPoint> ring =
                    ArcPoints(entity.centre, entity.radius, 0.0, 360.0, tolerance);
                ring.pop_back();  // the closing point
                for (const DrawingPoint& p : ring) shape.points.push_back(ocs.Apply(p));
                double sum = 0.0;
                for (const DrawingPoint& p : shape.points) sum += Distance(p, shape.centre);
                shape.radius =
                    shape.points.empty() ? 0.0 : sum / static_cast<double>(shape.points.size());
                break;
            }
            case EntityKind::LwPolyline:
            case EntityKind::Polyline:
                if (!Polyline(entity, ocs, tolerance, shape)) return;
                break;
            case EntityKind::Point:
            case EntityKind::Insert:
            case EntityKind::Text:
            case EntityKind::MText:
            case EntityKind::Attrib: {
                if (entity.vertices.empty()) return;
                // POINT and MTEXT are placed in the WCS, the others in their OCS.
                const bool world =
                    entity.kind == EntityKind::Point || entity.kind == EntityKind::MText;
                const Placement& where = world
                                             ? placed.blockPlacement
                                             : (entity.kind == EntityKind::Insert
                                                    ? OcsToWorld(entity.extrusion, entity.elevation)
                                                          .Then(placed.blockPlacement)
                                                    : ocs);
                shape.points.push_back(where.Apply(entity.vertices.front().at));
                if (entity.kind == EntityKind::Point) {
                    shape.kind = ShapeKind::Point;
                } else if (entity.kind == EntityKind::Insert) {
                    shape.kind = ShapeKind::Insert;
                    InsertShapes(entity, placed, shape);
                    return;
                } else {
                    shape.kind = ShapeKind::Text;
                    shape.text = entity.text;
                    shape.textHeight = entity.textHeight * where.LargestScale();
                    if (shape.text.empty()) return;
                }
                break;
            }
            case EntityKind::Other:
                return;
        }
        shape.place = EntityPlace(entity) + placed.insertPlace;
        shapes_.push_back(std::move(shape));
    }

  private:
    bool Polyline(const Entity& entity, const Placement& ocs, double tolerance, Shape& shape) {
        std::vector<PolylineVertex> vertices = entity.vertices;
        if (vertices.size() < 2) return false;
        bool closed = entity.closed;
        const double closeTolerance =
            settings_.closeTolerance / std::max(ocs.LargestScale(), 1e-12);
        if (Distance(vertices.front().at, vertices.back().at) <= closeTolerance) {
            vertices.pop_back();
            closed = true;
        }
        std::vector<DrawingPoint> points;
        bool arcs = false;
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const bool last = i + 1 == vertices.size();
            if (last && !closed) {
                points.push_back(vertices[i].at);
                break;
            }
            const PolylineVertex& next = vertices[last ? 0 : i + 1];
            arcs = arcs || vertices[i].bulge != 0.0;
            AppendSide(points, vertices[i].at, next.at, vertices[i].bulge, tolerance);
        }
        if (closed && points.size() < 3) closed = false;
        shape.kind = closed ? ShapeKind::Outline : ShapeKind::Path;
        shape.cornersExact = closed && !arcs;
        for (const DrawingPoint& p : points) shape.points.push_back(ocs.Apply(p));
        return shape.points.size() >= 2;
    }

    void InsertShapes(const Entity& insert, const PlacedEntity& placed, Shape& shape) {
        // The attributes are texts of their own layers, already placed in
        // the coordinates the INSERT lies in.
        for (const Entity& attribute : insert.attributes) {
            if (shape.text.empty()) shape.text = attribute.text;
            const std::string& layer = !placed.insertLayers.empty() && attribute.layer == "0"
                                           ? placed.layer
                                           : attribute.layer;
            Add(PlacedEntity{attribute, placed.blockPlacement, layer, placed.insertLayers,
                             placed.insertPlace});
        }
        shape.place = EntityPlace(insert) + placed.insertPlace;
        const int columns = std::max(1, insert.columns);
        const int rows = std::max(1, insert.rows);
        // A grid larger than any drawing holds is refused by VisitEntities.
        const double cells = static_cast<double>(columns) * static_cast<double>(rows);
        if (cells == 1.0 || cells > static_cast<double>(kMostEntities)) {
            shapes_.push_back(std::move(shape));
            return;
        }
        // A MINSERT: a point for each cell of its grid.
        const Placement ocs =
            OcsToWorld(insert.extrusion, insert.elevation).Then(placed.blockPlacement);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                Shape cell = shape;
                const DrawingPoint origin =
                    BlockToInsert(insert, {}, column, row).Apply({0.0, 0.0});
                cell.points = {ocs.Apply(origin)};
                shapes_.push_back(std::move(cell));
            }
        }
    }

    const ShapeSettings& settings_;
    std::vector<Shape>& shapes_;
};

}  // namespace

Status VisitEntities(const Drawing& drawing,
                     const std::function<void(const PlacedEntity&)>& visit) {
    return Visitor(drawing, visit).Run();
}

Result<std::vector<Shape>> DrawingShapes(const Drawing& drawing, const ShapeSettings& settings) {
    std::vector<Shape> shapes;
    ShapeMaker maker(settings, shapes);
    const Status visited =
        VisitEntities(drawing, [&maker](const PlacedEntity& placed) { maker.Add(placed); });
    if (!visited) return Fail(visited.error());
    return shapes;
}

std::vector<DrawingPoint> ArcPoints(DrawingPoint centre, double radius, double startDeg,
                                    double sweepDeg, double tolerance) {
    radius = std::fabs(radius);
    const double sweep = sweepDeg * kDegree;
    // The largest angle of a chord whose middle lies within the tolerance.
    const double step = radius > tolerance && tolerance > 0.0
                            ? 2.0 * std::acos(1.0 - tolerance / radius)
                            : std::numbers::pi / 2.0;
    double wanted = std::ceil(std::fabs(sweep) / step);
    if (!std::isfinite(wanted)) wanted = 1.0;
    const int segments = static_cast<int>(std::clamp(
        wanted, std::fabs(sweepDeg) >= 359.0 ? 8.0 : 1.0, static_cast<double>(kMostArcSegments)));
    std::vector<DrawingPoint> points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i <= segments; ++i) {
        const double angle = startDeg * kDegree + sweep * i / segments;
        points.push_back(
            {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return points;
}

}  // namespace quorvel::project::dxf
