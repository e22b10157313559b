#include "calc/project/dxf/site_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <new>
#include <set>
#include <system_error>
#include <utility>

#include "calc/project/dxf/drawing_shapes.h"
#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/outline_chains.h"
#include "calc/project/dxf/outline_geometry.h"
#include "calc/project/files/boundary_shape.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

constexpr double kArcToleranceM = 0.1;
constexpr double kJoinToleranceM = 0.001;
constexpr double kNameSearchM = 50.0;
constexpr char kReceptorName[] = "敏感目标";
// What the import writes is rounded to these steps: finer digits are only the
// noise of the drawing's far-off coordinates.
// (Dividing by a power of ten gives the double nearest to the decimal.)
constexpr double kStepsPerMetre = 1e4;
constexpr double kStepsPerDegree = 1e6;

double Rounded(double value, double stepsPerUnit) {
    return std::round(value * stepsPerUnit) / stepsPerUnit;
}

SitePoint Rounded(SitePoint p) {
    return {Rounded(p.x, kStepsPerMetre), Rounded(p.y, kStepsPerMetre)};
}

std::u16string Quoted(std::string_view utf8) { return u"“" + FromUtf8(utf8) + u"”"; }

std::u16string Decimal(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return FromUtf8(text);
}

std::u16string Count(std::size_t number) { return FromUtf8(std::to_string(number)); }

double Distance(DrawingPoint a, DrawingPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The number n of a text "<prefix>n", or 0.
long long NumberAfter(std::string_view text, std::string_view prefix) {
    if (!text.starts_with(prefix) || text.size() == prefix.size() ||
        text.size() - prefix.size() > 9) {
        return 0;
    }
    long long number = 0;
    for (const char c : text.substr(prefix.size())) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + (c - '0');
    }
    return number;
}

// The shapes on layers of one role, and the outlines their lines and arcs make.
struct RoleShapes {
    std::vector<const Shape*> shapes;
    std::vector<Shape> joined;

    std::vector<const Shape*> Outlines() const {
        std::vector<const Shape*> outlines;
        for (const Shape* shape : shapes) {
            if (shape->kind == ShapeKind::Outline || shape->kind == ShapeKind::Circle)
                outlines.push_back(shape);
        }
        for (const Shape& shape : joined) outlines.push_back(&shape);
        return outlines;
    }
};

class Importer {
  public:
    Importer(const Project& project, const Drawing& drawing, const ImportRequest& request)
        : project_(project), drawing_(drawing), request_(request) {}

    Result<ImportResult> Run() {
        if (const Status checked = CheckLayers(); !checked) return Fail(checked.error());
        const Result<DrawingUnit> unit = ChooseUnit();
        if (!unit) return Fail(unit.error());
        const double metres = MetresPerUnit(unit.value());
        const Result<std::vector<Shape>> shapes = DrawingShapes(
            drawing_, ShapeSettings{kArcToleranceM / metres, kJoinToleranceM / metres});
        if (!shapes) return Fail(shapes.error());
        shapes_ = &shapes.value();
        Sort(kJoinToleranceM / metres);

        const Shape* boundary = nullptr;
        if (choseBoundary_) {
            const Result<const Shape*> largest = LargestBoundary();
            if (!largest) return Fail(largest.error());
            boundary = largest.value();
        }
        const Result<CadTie> tie = ChooseTie(unit.value(), boundary);
        if (!tie) return Fail(tie.error());
        tie_ = tie.value();
        if (project_.cad && !request_.file.empty() && request_.file != project_.cad->file) {
            result_.notes.push_back(
                u"项目关联的图形是 " + Quoted(project_.cad->file) + u"，这次从 " +
                Quoted(request_.file) +
                u" 导入：按项目原有的单位、原点和北向角换算，两张图应使用同一坐标");
        }

        result_.project = project_;
        if (boundary != nullptr) {
            if (const Status set = SetBoundary(*boundary); !set) return Fail(set.error());
        }
        if (const Status added = AddSources(); !added) return Fail(added.error());
        if (const Status added = AddReceptors(); !added) return Fail(added.error());
        result_.project.cad = tie_;
        return std::move(result_);
    }

  private:
    LayerRole RoleOf(const std::string& layer) const {
        const auto found = roles_.find(NameKey(layer));
        return found == roles_.end() ? LayerRole::None : found->second;
    }

    bool Hidden(const std::string& layer) const {
        for (const Layer& known : drawing_.layers) {
            if (NameKey(known.name) == NameKey(layer)) return known.frozen || known.off;
        }
        return false;
    }

    Status CheckLayers() {
        std::set<std::string> names;
        for (const Layer& layer : drawing_.layers) names.insert(NameKey(layer.name));
        const Status visited = VisitEntities(drawing_, [&names](const PlacedEntity& placed) {
            names.insert(NameKey(placed.layer));
        });
        if (!visited) return visited;
        for (const LayerChoice& choice : request_.layers) {
            if (choice.role == LayerRole::None) continue;
            if (names.count(NameKey(choice.layer)) == 0) {
                return Fail(u"图形中没有图层 " + Quoted(choice.layer));
            }
            roles_[NameKey(choice.layer)] = choice.role;
            choseBoundary_ = choseBoundary_ || choice.role == LayerRole::Boundary;
            if (choice.role == LayerRole::Sources) {
                const std::optional<double>& height = request_.sourceHeight;
                if (!height || !(*height > 0.0) || !std::isfinite(*height)) {
                    return Fail(u"导入排放源需要给出排放高度（m，大于 0）");
                }
            }
        }
        if (roles_.empty()) return Fail(u"没有选择要导入的图层（厂界、排放源或敏感目标）");
        return {};
    }

    Result<DrawingUnit> ChooseUnit() const {
        if (project_.cad) {
            const DrawingUnit tied = project_.cad->unit;
            if (request_.unit && *request_.unit != tied) {
                return Fail(u"项目与图形关联的单位是 " + FromUtf8(UnitName(tied)) + u"，与选择的 " +
                            FromUtf8(UnitName(*request_.unit)) +
                            u" 不一致：同一项目的图形只能用一种单位导入");
            }
            return tied;
        }
        if (request_.unit) return *request_.unit;
        if (const std::optional<DrawingUnit> proposed = ProposedUnit(drawing_)) return *proposed;
        return Fail(
            u"图形没有说明单位（$INSUNITS 不是 mm、cm 或 m），请选择图形的单位：mm、cm 或 m");
    }

    void Sort(double joinTolerance) {
        std::map<std::pair<LayerRole, std::string>, std::vector<const Shape*>> paths;
        std::set<std::string> receptorLayers;
        for (const auto& [layer, role] : roles_) {
            if (role == LayerRole::Receptors) receptorLayers.insert(layer);
        }
        for (const Shape& shape : *shapes_) {
            if (shape.kind == ShapeKind::Text) {
                if (!Hidden(shape.layer)) texts_.push_back(&shape);
                continue;
            }
            const LayerRole role = RoleOf(shape.layer);
            if (role == LayerRole::None) continue;
            // What a receptor's block holds is the receptor, not more of them.
            if (role == LayerRole::Receptors) {
                bool inReceptor = false;
                for (const std::string& layer : shape.insertLayers)
                    inReceptor = inReceptor || receptorLayers.count(NameKey(layer)) > 0;
                if (inReceptor) continue;
            }
            if (shape.kind == ShapeKind::Path) {
                paths[{role, NameKey(shape.layer)}].push_back(&shape);
            } else {
                byRole_[role].shapes.push_back(&shape);
            }
        }
        for (const auto& [key, layerPaths] : paths) {
            for (Shape& outline : JoinedOutlines(layerPaths, joinTolerance)) {
                byRole_[key.first].joined.push_back(std::move(outline));
            }
        }
    }

    Result<const Shape*> LargestBoundary() {
        const std::vector<const Shape*> outlines = byRole_[LayerRole::Boundary].Outlines();
        std::u16string layers;
        for (const LayerChoice& choice : request_.layers) {
            if (choice.role != LayerRole::Boundary) continue;
            if (!layers.empty()) layers += u"、";
            layers += Quoted(choice.layer);
        }
        if (outlines.empty()) {
            return Fail(u"图层 " + layers + u" 上没有闭合的轮廓，不能作为厂界" +
                        u"（厂界应是闭合的多段线，或首尾相接的直线和圆弧）");
        }
        const Shape* largest = outlines.front();
        double largestArea = -1.0;
        for (const Shape* outline : outlines) {
            const double area = AreaOf(*outline);
            if (area > largestArea) {
                largest = outline;
                largestArea = area;
            }
        }
        if (outlines.size() > 1) {
            std::u16string others;
            for (const Shape* outline : outlines) {
                if (outline == largest) continue;
                others += (others.empty() ? u"" : u"；") + outline->place;
            }
            result_.notes.push_back(u"图层 " + layers + u" 上有 " + Count(outlines.size()) +
                                    u" 个闭合轮廓，厂界取面积最大的" + largest->place +
                                    u"；未用的：" + others);
        }
        return largest;
    }

    static double AreaOf(const Shape& shape) {
        std::vector<SitePoint> ring;
        for (const DrawingPoint& p : shape.points) ring.push_back({p.x, p.y});
        return OutlineArea(ring);
    }

    Result<CadTie> ChooseTie(DrawingUnit unit, const Shape* boundary) const {
        if (project_.cad) {
            CadTie tie = *project_.cad;
            const auto shown = [](SitePoint p) {
                return u"(" + Decimal(p.x, 3) + u", " + Decimal(p.y, 3) + u")";
            };
            if (request_.origin && !(*request_.origin == tie.origin)) {
                return Fail(u"项目与图形关联的原点是 " + shown(tie.origin) + u"，与给出的原点 " +
                            shown(*request_.origin) + u" 不一致");
            }
            if (request_.northDeg && *request_.northDeg != tie.northDeg) {
                return Fail(u"项目与图形关联的北向角是 " + Decimal(tie.northDeg, 3) +
                            u" 度，与给出的 " + Decimal(*request_.northDeg, 3) + u" 度不一致");
            }
            if (request_.drawnLayers) tie.layers = *request_.drawnLayers;
            return tie;
        }
        const bool hasCoordinates =
            !project_.sources.empty() || !project_.boundary.empty() || !project_.receptors.empty();
        if (hasCoordinates && !request_.origin) {
            return Fail(
                u"项目已有坐标，但没有与图形的关联：请给出图形中与场地原点 (0, 0) "
                u"对应的点（原点）");
        }
        CadTie tie;
        tie.file = request_.file;
        tie.unit = unit;
        tie.northDeg = request_.northDeg.value_or(0.0);
        if (!std::isfinite(tie.northDeg) || std::fabs(tie.northDeg) > 360.0) {
            return Fail(u"北向角应在 -360 到 360 度之间");
        }
        tie.origin = request_.origin ? *request_.origin : DefaultOrigin(unit, boundary);
        tie.layers = request_.drawnLayers ? *request_.drawnLayers : DrawnLayers();
        return tie;
    }

    // The lower left corner of the boundary, or of all that is imported,
    // rounded down to whole metres.
    SitePoint DefaultOrigin(DrawingUnit unit, const Shape* boundary) const {
        double minX = std::numeric_limits<double>::infinity();
        double minY = minX;
        const auto take = [&](const Shape& shape) {
            for (const DrawingPoint& p : shape.points) {
                minX = std::min(minX, p.x);
                minY = std::min(minY, p.y);
            }
        };
        if (boundary != nullptr) {
            take(*boundary);
        } else {
            for (const auto& [role, shapes] : byRole_) {
                for (const Shape* shape : shapes.shapes) take(*shape);
                for (const Shape& shape : shapes.joined) take(shape);
            }
        }
        if (!std::isfinite(minX) || !std::isfinite(minY)) return {};
        const double metres = MetresPerUnit(unit);
        return {std::floor(minX * metres) / metres, std::floor(minY * metres) / metres};
    }

    std::vector<std::string> DrawnLayers() const {
        std::vector<std::string> layers;
        std::set<std::string> seen;
        const auto add = [&](const std::string& layer) {
            if (!Hidden(layer) && seen.insert(NameKey(layer)).second) layers.push_back(layer);
        };
        for (const Layer& layer : drawing_.layers) {
            for (const Shape& shape : *shapes_) {
                if (NameKey(shape.layer) == NameKey(layer.name) &&
                    shape.kind != ShapeKind::Insert) {
                    add(layer.name);
                    break;
                }
            }
        }
        for (const Shape& shape : *shapes_) {
            if (shape.kind != ShapeKind::Insert) add(shape.layer);
        }
        return layers;
    }

    Result<std::vector<SitePoint>> ToSite(const std::vector<DrawingPoint>& points,
                                          const std::u16string& place) const {
        std::vector<SitePoint> site;
        for (const DrawingPoint& p : points) {
            const SitePoint s = DrawingToSite(tie_, p);
            if (!(std::fabs(s.x) <= kLargestCoordinate) ||
                !(std::fabs(s.y) <= kLargestCoordinate)) {
                return Fail(place + u" 换算到场地后的坐标超出范围（" + Decimal(s.x, 1) + u", " +
                            Decimal(s.y, 1) + u" m）：请检查图形的单位和原点");
            }
            site.push_back(s);
        }
        return site;
    }

    Status SetBoundary(const Shape& boundary) {
        const Result<std::vector<SitePoint>> site = ToSite(boundary.points, boundary.place);
        if (!site) return Fail(site.error());
        std::vector<SitePoint> vertices;
        for (const SitePoint& vertex : site.value()) vertices.push_back(Rounded(vertex));
        if (const std::u16string fault = BoundaryShapeFault(vertices); !fault.empty()) {
            return Fail(u"厂界" + boundary.place + u" 不能使用：" + fault);
        }
        if (!result_.project.boundary.empty()) {
            result_.notes.push_back(u"项目原有的厂界已由图形中的厂界替换");
        }
        result_.project.boundary = std::move(vertices);
        result_.boundarySet = true;
        return {};
    }

    // The text inside the outline: one on the outline's own layer first.
    std::string TextInside(const std::vector<SitePoint>& outline, const std::string& layer) const {
        const Shape* found = nullptr;
        for (const Shape* text : texts_) {
            const SitePoint at = DrawingToSite(tie_, text->points.front());
            if (!OutlineContains(outline, at)) continue;
            if (found == nullptr || (NameKey(text->layer) == NameKey(layer) &&
                                     NameKey(found->layer) != NameKey(layer))) {
                found = text;
            }
        }
        return found == nullptr ? std::string() : found->text;
    }

    Status AddSources() {
        if (byRole_.count(LayerRole::Sources) == 0) {
            NoteEmpty(LayerRole::Sources, u"排放源");
            return {};
        }
        long long next = 0;
        for (const Source& source : result_.project.sources)
            next = std::max(next, NumberAfter(source.id, "S"));
        for (const Shape* outline : byRole_[LayerRole::Sources].Outlines()) {
            const Result<std::vector<SitePoint>> site = ToSite(outline->points, outline->place);
            if (!site) return Fail(site.error());
            std::optional<SourceRectangle> rectangle;
            if (outline->cornersExact) rectangle = ExactRectangle(site.value());
            if (!rectangle) {
                rectangle = SmallestEnclosingRectangle(site.value());
                if (!rectangle) {
                    result_.notes.push_back(outline->place + u" 没有面积，未作为排放源导入");
                    continue;
                }
                result_.notes.push_back(outline->place +
                                        u" 不是矩形，按最小外接矩形导入：轮廓面积 " +
                                        Decimal(OutlineArea(site.value()), 1) + u" m²，矩形面积 " +
                                        Decimal(rectangle->length * rectangle->width, 1) +
                                        u" m²（单位面积排放率随之改变）");
            }
            Source source;
            source.id = "S" + std::to_string(++next);
            source.name = TextInside(site.value(), outline->layer);
            source.centre = Rounded(rectangle->centre);
            // A rectangle along the x axis may come out a hair below 180 degrees.
            source.angle = std::fmod(Rounded(rectangle->angleDeg, kStepsPerDegree), 180.0);
            source.height = *request_.sourceHeight;
            source.length = Rounded(rectangle->length, kStepsPerMetre);
            source.width = Rounded(rectangle->width, kStepsPerMetre);
            result_.project.sources.push_back(std::move(source));
            ++result_.sourcesAdded;
        }
        NoteEmpty(LayerRole::Sources, u"排放源");
        return {};
    }

    void NoteEmpty(LayerRole role, const char16_t* what) {
        if (role == LayerRole::Sources ? result_.sourcesAdded > 0 : result_.receptorsAdded > 0)
            return;
        for (const LayerChoice& choice : request_.layers) {
            if (choice.role == role) {
                result_.notes.push_back(u"图层 " + Quoted(choice.layer) + u" 上没有可作为" + what +
                                        u"的图元，没有导入" + what);
            }
        }
    }

    // The name of a receptor at `at`: its block's attribute, else the
    // nearest text within 50 m, else "敏感目标<n>".
    std::string ReceptorName(const Shape& shape, DrawingPoint at, long long& unnamed) const {
        if (shape.kind == ShapeKind::Insert && !shape.text.empty()) return shape.text;
        const double reach = kNameSearchM / MetresPerUnit(tie_.unit);
        const Shape* nearest = nullptr;
        double nearestDistance = reach;
        for (const Shape* text : texts_) {
            const double distance = Distance(text->points.front(), at);
            if (distance <= nearestDistance) {
                nearest = text;
                nearestDistance = distance;
            }
        }
        if (nearest != nullptr) return nearest->text;
        return kReceptorName + std::to_string(++unnamed);
    }

    Status AddReceptors() {
        long long unnamed = 0;
        for (const Receptor& receptor : result_.project.receptors)
            unnamed = std::max(unnamed, NumberAfter(receptor.name, kReceptorName));
        RoleShapes& receptors = byRole_[LayerRole::Receptors];
        std::vector<const Shape*> all = receptors.shapes;
        for (const Shape& joined : receptors.joined) all.push_back(&joined);
        for (const Shape* shape : all) {
            DrawingPoint at;
            switch (shape->kind) {
                case ShapeKind::Point:
                case ShapeKind::Insert:
                    at = shape->points.front();
                    break;
                case ShapeKind::Circle:
                    at = shape->centre;
                    break;
                case ShapeKind::Outline: {
                    std::vector<SitePoint> ring;
                    for (const DrawingPoint& p : shape->points) ring.push_back({p.x, p.y});
                    const SitePoint centroid = OutlineCentroid(ring);
                    at = {centroid.x, centroid.y};
                    break;
                }
                case ShapeKind::Path:
                case ShapeKind::Text:
                    continue;
            }
            const Result<std::vector<SitePoint>> site = ToSite({at}, shape->place);
            if (!site) return Fail(site.error());
            Receptor receptor;
            receptor.name = ReceptorName(*shape, at, unnamed);
            receptor.position = Rounded(site.value().front());
            result_.project.receptors.push_back(std::move(receptor));
            ++result_.receptorsAdded;
        }
        NoteEmpty(LayerRole::Receptors, u"敏感目标");
        return {};
    }

    const Project& project_;
    const Drawing& drawing_;
    const ImportRequest& request_;
    std::map<std::string, LayerRole> roles_;  // by NameKey
    bool choseBoundary_ = false;
    const std::vector<Shape>* shapes_ = nullptr;
    std::map<LayerRole, RoleShapes> byRole_;
    std::vector<const Shape*> texts_;
    CadTie tie_;
    ImportResult result_;
};

}  // namespace

std::string TieFileName(const std::filesystem::path& drawing,
                        const std::filesystem::path& projectFolder) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(drawing, error);
    std::filesystem::path shown = error ? drawing : absolute;
    if (!projectFolder.empty() && !error) {
        const std::filesystem::path relative =
            absolute.lexically_relative(std::filesystem::absolute(projectFolder, error));
        if (!relative.empty() && !error) shown = relative;
    }
    const std::u8string text = shown.generic_u8string();
    return std::string(text.begin(), text.end());
}

Result<ImportResult> ImportDrawing(const Project& project, const Drawing& drawing,
                                   const ImportRequest& request) {
    try {
        return Importer(project, drawing, request).Run();
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法导入图形");
    }
}

}  // namespace quorvel::project::dxf
