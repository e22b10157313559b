#include "calc/project/dxf/plan_drawing.h"

#include <cmath>
#include <new>
#include <set>
#include <utility>

#include "calc/project/dxf/drawing_shapes.h"
#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/dxf_reader.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

constexpr double kArcToleranceM = 0.1;
constexpr double kCloseToleranceM = 0.001;

Result<PlanDrawing> LinesAndTexts(const Drawing& drawing, const CadTie& tie) {
    const double metres = MetresPerUnit(tie.unit);
    const Result<std::vector<Shape>> shapes =
        DrawingShapes(drawing, ShapeSettings{kArcToleranceM / metres, kCloseToleranceM / metres});
    if (!shapes) return Fail(shapes.error());
    std::set<std::string> layers;
    for (const std::string& layer : tie.layers) layers.insert(NameKey(layer));
    PlanDrawing plan;
    for (const Shape& shape : shapes.value()) {
        if (layers.count(NameKey(shape.layer)) == 0) continue;
        switch (shape.kind) {
            case ShapeKind::Outline:
            case ShapeKind::Circle:
            case ShapeKind::Path: {
                std::vector<SitePoint> line;
                for (const DrawingPoint& p : shape.points) line.push_back(DrawingToSite(tie, p));
                if (shape.kind != ShapeKind::Path && !line.empty()) line.push_back(line.front());
                if (line.size() >= 2) plan.lines.push_back(std::move(line));
                break;
            }
            case ShapeKind::Text:
                plan.texts.push_back(PlanDrawingText{shape.text,
                                                     DrawingToSite(tie, shape.points.front()),
                                                     shape.textHeight * metres});
                break;
            case ShapeKind::Point:
            case ShapeKind::Insert:
                break;  // what a block draws comes as its own shapes
        }
    }
    return plan;
}

}  // namespace

Result<PlanDrawing> DrawingUnderFigure(const Drawing& drawing, const CadTie& tie) {
    try {
        return LinesAndTexts(drawing, tie);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法画出图形");
    }
}

Result<PlanDrawing> LoadPlanDrawing(const std::filesystem::path& projectFolder, const CadTie& tie) {
    const std::filesystem::path named = PathFromText(FromUtf8(tie.file));
    const std::filesystem::path file = named.is_absolute() ? named : projectFolder / named;
    const Result<Drawing> drawing = OpenDrawing(file);
    if (!drawing) return Fail(drawing.error());
    Result<PlanDrawing> plan = DrawingUnderFigure(drawing.value(), tie);
    if (!plan) return Fail(u"图形文件 " + PathText(file) + u" 不能使用：" + plan.error());
    return plan;
}

}  // namespace quorvel::project::dxf
