#include "calc/project/sheet/field_figure.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "calc/project/sheet/field_text.h"
#include "calc/project/sheet/figure_legend.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/project/sheet/site_figure_layers.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using namespace figure_layers;

constexpr Colour kShade{150, 150, 150};
constexpr std::size_t kLongestNotice = 40;  // UTF-16 units of a reason on the figure

// One pollutant's exceedance lets the plan show through; those of all
// pollutants overlap one another, so they are opaque to keep one grey.
const Style kExceedanceStyle{std::nullopt, kShade, 0.0, {}, 0.65};
const Style kAllExceedanceStyle{std::nullopt, Colour{170, 170, 170}, 0.0, {}, 1.0};
const Style kAreaStyle{kDarkGrey, kLightGrey, 0.8, {}, 0.7};
const Style kBoundaryStyle{kBlack, std::nullopt, 1.6, {9, 2.5, 2, 2.5}, 1.0};
const Style kExceedingSideStyle{kBlack, std::nullopt, 3.4, {}, 1.0};
const Style kHeavyReceptorStyle{kBlack, kBlack, 1.5, {}, 1.0};

Style ContourStyle(double ratio) {
    if (ratio >= 1.0) return Style{kBlack, std::nullopt, 1.3, {}, 1.0};
    if (ratio >= 0.5) return Style{kBlack, std::nullopt, 1.0, {5, 3}, 1.0};
    return Style{kBlack, std::nullopt, 0.8, {1.5, 2}, 1.0};
}

std::vector<std::vector<SitePoint>> RingsOf(const ZonePolygon& polygon) {
    std::vector<std::vector<SitePoint>> rings{polygon.outer};
    rings.insert(rings.end(), polygon.holes.begin(), polygon.holes.end());
    return rings;
}

// A reason short enough for one line of the figure; the sheet's text holds it all.
std::string Shortened(const std::u16string& reason) {
    if (reason.size() <= kLongestNotice) return ToUtf8(reason);
    return ToUtf8(reason.substr(0, kLongestNotice - 1)) + "…";
}

void AddNotice(FigureWriter& writer, const std::string& text) {
    if (text.empty()) return;
    const Extent e = writer.figure().extent;
    TextLabel label = Text(text, {e.minX, e.maxY}, 8.5, HorizontalAlign::Left, VerticalAlign::Top);
    label.offsetX = 5;
    label.offsetY = -5;
    label.bold = true;
    label.halo = 2;
    writer.Label(FigurePart::NotFinal, {}, std::move(label));
}

// The boundary's vertices without a closing one equal to the first.
std::vector<SitePoint> Outline(const Project& project) {
    std::vector<SitePoint> vertices = project.boundary;
    if (vertices.size() > 3 && vertices.front() == vertices.back()) vertices.pop_back();
    return vertices;
}

// The point of the boundary's outline nearest to p.
std::optional<SitePoint> NearestOnOutline(const std::vector<SitePoint>& outline, SitePoint p) {
    std::optional<SitePoint> nearest;
    double best = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const SitePoint a = outline[i];
        const SitePoint b = outline[(i + 1) % outline.size()];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = dx * dx + dy * dy;
        const double t =
            length > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
        const SitePoint q{a.x + t * dx, a.y + t * dy};
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (!nearest || d < best) {
            nearest = q;
            best = d;
        }
    }
    return nearest;
}

// Where each level's label stands on a line: its northmost point.
SitePoint LabelPoint(const std::vector<SitePoint>& line) {
    return *std::max_element(line.begin(), line.end(),
                             [](const SitePoint& a, const SitePoint& b) { return a.y < b.y; });
}

double Span(const std::vector<SitePoint>& line) {
    Bounds bounds;
    bounds.Add(line);
    if (bounds.empty()) return 0;
    return std::hypot(bounds.high().x - bounds.low().x, bounds.high().y - bounds.low().y);
}

// The legend's entry for the highlighted receptors, when any is.
void AddHighlightEntry(std::vector<LegendEntry>& legend, const Project& project,
                       const Highlighted& highlighted, std::string text) {
    for (std::size_t i = 0; i < project.receptors.size(); ++i) {
        if (highlighted(i, project.receptors[i])) {
            legend.push_back({LegendSample::Triangle, kHeavyReceptorStyle, std::move(text)});
            return;
        }
    }
}

// The figure's extent with room for the legend, and the plan under it.
void Begin(FigureWriter& writer, const Bounds& bounds, const std::vector<LegendEntry>& legend,
           const Project& project, const std::optional<PlanPicture>& picture,
           const dxf::PlanDrawing* drawing) {
    writer.figure().extent = ExtentWithLegend(bounds, legend);
    AddUnderlay(writer, project, picture, drawing);
}

void AddExceedance(FigureWriter& writer, const PollutantFieldResult& p, const Style& style) {
    for (const ZonePolygon& polygon : p.exceedance) {
        writer.Add(FigurePart::Exceedance, p.pollutant, PolygonShape{RingsOf(polygon), style});
    }
}

LegendEntry BoundaryEntry() { return {LegendSample::Line, kBoundaryStyle, "厂界"}; }

std::string StandardText(const PollutantFieldResult& p) {
    return p.standard ? "（S = " + NumberText(*p.standard) + " µg/m³）" : std::string();
}

// One pollutant: exceedance, contours and labels, and the receptors where it reaches S.
SiteFigure PollutantFigure(const Project& project, const ProjectResults& results,
                           const std::string& pollutant, const std::optional<PlanPicture>& picture,
                           const dxf::PlanDrawing* drawing) {
    const PollutantFieldResult* p =
        results.field ? FieldPollutantOf(*results.field, pollutant) : nullptr;
    std::vector<LegendEntry> legend{
        {LegendSample::None, {}, pollutant + (p ? StandardText(*p) : "")}};
    Bounds bounds;
    AddSite(bounds, project);
    bool anyContour = false;
    if (p) {
        for (const ZonePolygon& polygon : p->exceedance) bounds.Add(polygon.outer);
        for (const FieldContour& contour : p->contours) {
            for (const std::vector<SitePoint>& line : contour.lines) bounds.Add(line);
            if (contour.lines.empty()) continue;
            anyContour = true;
            legend.push_back({LegendSample::Line, ContourStyle(contour.ratio),
                              "C = " + LevelText(contour.ratio) + " 等值线"});
        }
        if (!p->exceedance.empty())
            legend.push_back({LegendSample::Area, kExceedanceStyle, "厂界外超标区域（C ≥ S）"});
    }
    if (project.boundary.size() >= 3) legend.push_back(BoundaryEntry());
    const Highlighted exceeds = [&](std::size_t index, const Receptor& receptor) {
        const ReceptorFieldResult* r =
            results.field ? FieldReceptorOf(*results.field, index, receptor.name) : nullptr;
        const ReceptorPollutant* rp = r ? ReceptorPollutantOf(*r, pollutant) : nullptr;
        return rp && rp->exceeds;
    };
    AddHighlightEntry(legend, project, exceeds, "超标的敏感目标");

    SiteFigure figure;
    FigureWriter writer(figure);
    Begin(writer, bounds, legend, project, picture, drawing);
    if (p) AddExceedance(writer, *p, kExceedanceStyle);
    AddBoundary(writer, project);
    AddSources(writer, project);
    if (p) {
        for (const FieldContour& contour : p->contours) {
            for (const std::vector<SitePoint>& line : contour.lines) {
                writer.Add(FigurePart::Contour, LevelText(contour.ratio),
                           PolylineShape{line, ContourStyle(contour.ratio)});
            }
        }
    }
    AddReceptors(writer, project, exceeds);
    AddLabels(writer, project, exceeds);
    if (anyContour) {
        const Extent& e = figure.extent;
        const double smallest = 0.04 * std::max(e.maxX - e.minX, e.maxY - e.minY);
        for (const FieldContour& contour : p->contours) {
            for (const std::vector<SitePoint>& line : contour.lines) {
                if (line.size() < 2 || Span(line) < smallest) continue;
                TextLabel label = Text(LevelText(contour.ratio), LabelPoint(line), 7.5,
                                       HorizontalAlign::Centre, VerticalAlign::Middle);
                label.halo = 2.5;
                writer.Label(FigurePart::ContourLabel, LevelText(contour.ratio), std::move(label));
            }
        }
    }
    if (!p)
        AddNotice(writer, "未计算该污染物的叠加浓度场");
    else if (!p->error.empty())
        AddNotice(writer, "未能计算：" + Shortened(p->error));
    else if (!p->final)
        AddNotice(writer,
                  "结果非最终：" + (p->note.empty() ? std::string("见说明") : Shortened(p->note)));
    AddLegend(writer, legend);
    AddFurniture(writer);
    return figure;
}

std::string AreaTitle(const Project& project, const FieldResult* field) {
    if (!field) return "未计算叠加浓度场";
    if (project.boundary.size() < 3 || !field->distance)
        return "未给出厂界，不能确定大气环境防护距离";
    if (!(*field->distance > 0)) return "无需设置大气环境防护距离";
    return "大气环境防护距离 D = " + RoundedUpMetres(*field->distance) +
           (field->decidingPollutant.empty() ? "" : "（" + field->decidingPollutant + "）");
}

// The line from the boundary to where D is reached, and D written beside it.
void AddDistance(FigureWriter& writer, const Project& project, const FieldResult& field) {
    if (!field.distance || !(*field.distance > 0)) return;
    const PollutantFieldResult* deciding = FieldPollutantOf(field, field.decidingPollutant);
    const std::string text = "D = " + RoundedUpMetres(*field.distance);
    std::optional<SitePoint> far = deciding ? deciding->distanceAt : std::nullopt;
    const std::optional<SitePoint> near =
        far && Finite(*far) ? NearestOnOutline(Outline(project), *far) : std::nullopt;
    if (!near) {
        // Without the point: on the area's northmost point.
        Bounds area;
        for (const ZonePolygon& polygon : field.areaPolygons) area.Add(polygon.outer);
        if (area.empty()) return;
        TextLabel label = Text(text, {(area.low().x + area.high().x) / 2, area.high().y}, 8.5,
                               HorizontalAlign::Centre, VerticalAlign::Top);
        label.offsetY = -3;
        label.bold = true;
        label.halo = 2;
        writer.Label(FigurePart::ProtectionDistance, {}, std::move(label));
        return;
    }
    const Style line{kBlack, std::nullopt, 0.9, {}, 1.0};
    writer.Add(FigurePart::ProtectionDistance, {}, PolylineShape{{*near, *far}, line});
    for (const SitePoint& end : {*near, *far}) {
        writer.Add(FigurePart::ProtectionDistance, {},
                   Mark{end, MarkShape::Circle, 3, Style{kBlack, kBlack, 0.5, {}, 1.0}});
    }
    const SitePoint middle{(near->x + far->x) / 2, (near->y + far->y) / 2};
    const bool level = std::abs(far->x - near->x) >= std::abs(far->y - near->y);
    // Beside the line: above a level one, to the right of a steep one.
    TextLabel label =
        Text(text, middle, 8.5, level ? HorizontalAlign::Centre : HorizontalAlign::Left,
             level ? VerticalAlign::Bottom : VerticalAlign::Middle);
    label.offsetX = level ? 0 : 4;
    label.offsetY = level ? 3 : 0;
    label.bold = true;
    label.halo = 2;
    writer.Label(FigurePart::ProtectionDistance, {}, std::move(label));
}

// The pollutants whose field is not final or failed, for the notice.
std::string AreaNotice(const FieldResult* field) {
    if (!field) return {};
    std::vector<std::string> names;
    for (const PollutantFieldResult& p : field->pollutants) {
        if (!p.final || !p.error.empty()) names.push_back(p.pollutant);
    }
    if (names.empty()) return {};
    return "结果非最终：" + Joined(names, "、") + "的叠加浓度场不完整";
}

// All pollutants: the protection area, the exceedances, the exceeding sides and D.
SiteFigure AreaFigure(const Project& project, const ProjectResults& results,
                      const std::optional<PlanPicture>& picture, const dxf::PlanDrawing* drawing) {
    const FieldResult* field = results.field ? &*results.field : nullptr;
    const std::vector<SitePoint> outline = Outline(project);
    std::vector<LegendEntry> legend{{LegendSample::None, {}, AreaTitle(project, field)}};
    Bounds bounds;
    AddSite(bounds, project);
    bool anyExceedance = false;
    if (field) {
        for (const ZonePolygon& polygon : field->areaPolygons) bounds.Add(polygon.outer);
        for (const PollutantFieldResult& p : field->pollutants) {
            for (const ZonePolygon& polygon : p.exceedance) bounds.Add(polygon.outer);
            anyExceedance |= !p.exceedance.empty();
        }
        if (!field->areaPolygons.empty())
            legend.push_back({LegendSample::Area, kAreaStyle, "大气环境防护区域"});
        if (anyExceedance)
            legend.push_back(
                {LegendSample::Area, kAllExceedanceStyle, "厂界外超标区域（各污染物）"});
        if (!field->exceedingSides.empty() && outline.size() >= 3)
            legend.push_back({LegendSample::Line, kExceedingSideStyle, "超标区域所临的厂界边"});
    }
    if (outline.size() >= 3) legend.push_back(BoundaryEntry());
    const Highlighted inArea = [&](std::size_t index, const Receptor& receptor) {
        const ReceptorFieldResult* r =
            field ? FieldReceptorOf(*field, index, receptor.name) : nullptr;
        return r && r->inArea;
    };
    AddHighlightEntry(legend, project, inArea, "位于防护区域内的敏感目标");

    SiteFigure figure;
    FigureWriter writer(figure);
    Begin(writer, bounds, legend, project, picture, drawing);
    if (field) {
        for (const ZonePolygon& polygon : field->areaPolygons)
            writer.Add(FigurePart::ProtectionArea, {}, PolygonShape{RingsOf(polygon), kAreaStyle});
        for (const PollutantFieldResult& p : field->pollutants)
            AddExceedance(writer, p, kAllExceedanceStyle);
    }
    AddBoundary(writer, project);
    if (field && outline.size() >= 3) {
        for (const int side : field->exceedingSides) {
            if (side < 1 || static_cast<std::size_t>(side) > outline.size()) continue;
            const SitePoint a = outline[static_cast<std::size_t>(side) - 1];
            const SitePoint b = outline[static_cast<std::size_t>(side) % outline.size()];
            writer.Add(FigurePart::ExceedingSide, std::to_string(side),
                       PolylineShape{{a, b}, kExceedingSideStyle});
        }
    }
    AddSources(writer, project);
    if (field) AddDistance(writer, project, *field);
    AddReceptors(writer, project, inArea);
    AddLabels(writer, project, inArea);
    AddNotice(writer, field ? AreaNotice(field) : "未计算叠加浓度场");
    AddLegend(writer, legend);
    AddFurniture(writer);
    return figure;
}

}  // namespace

SiteFigure BuildFieldFigure(const Project& project, const ProjectResults& results,
                            const FieldFigureChoice& choice,
                            const std::optional<PlanPicture>& picture,
                            const dxf::PlanDrawing* drawing) {
    if (choice.pollutant.empty()) return AreaFigure(project, results, picture, drawing);
    return PollutantFigure(project, results, choice.pollutant, picture, drawing);
}

}  // namespace quorvel::project
