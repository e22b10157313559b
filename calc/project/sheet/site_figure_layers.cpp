#include "calc/project/sheet/site_figure_layers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "calc/project/files/source_corners.h"
#include "calc/sheet/markup.h"

namespace quorvel::project::figure_layers {
namespace {

constexpr Colour kDrawingGrey{165, 165, 165};
constexpr double kDrawingLineWidth = 0.4;  // pt

constexpr double kTickLabelSize = 7.5;  // pt
constexpr double kTickLabelGap = 3.0;   // pt between the frame and a tick label
constexpr int kMostTicks = 60;          // on one side

// The margin around the drawn things, as a share of their larger side; the
// north arrow and the scale bar stand in it.
constexpr double kMarginShare = 0.12;
constexpr double kSmallestSide = 20.0;  // m, for a figure of a single point
constexpr double kLowestAspect = 0.6;   // height / width
constexpr double kHighestAspect = 1.25;

// 1, 2 or 5 times a power of ten, the largest not above `most` (above 0).
double RoundLength(double most) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(most)));
    for (const double multiple : {5.0, 2.0, 1.0}) {
        if (multiple * magnitude <= most) return multiple * magnitude;
    }
    return magnitude;
}

void AddPicture(FigureWriter& writer, const Plan& plan, const std::optional<PlanPicture>& picture) {
    if (!picture) {
        writer.figure().planProblem = u"未读入平面图文件，图中未画出平面图";
        return;
    }
    const Result<PixelToSite> placement = PlanTransform(plan.points);
    if (!placement) {
        writer.figure().planProblem = placement.error() + u"，图中未画出平面图";
        return;
    }
    writer.Add(FigurePart::Plan, {},
               Picture{plan.image, picture->bytes, picture->format, picture->pixelWidth,
                       picture->pixelHeight, placement.value(), 0.6});
}

void AddDrawing(FigureWriter& writer, const dxf::PlanDrawing& drawing) {
    for (const std::vector<SitePoint>& line : drawing.lines) {
        writer.Add(
            FigurePart::Drawing, {},
            PolylineShape{line, Style{kDrawingGrey, std::nullopt, kDrawingLineWidth, {}, 1.0}});
    }
    for (const dxf::PlanDrawingText& text : drawing.texts) {
        if (!(text.height > 0.0) || !std::isfinite(text.height)) continue;
        TextLabel label = Text(text.text, text.at, 8, HorizontalAlign::Left, VerticalAlign::Bottom);
        // The em box is about 1.4 times a Chinese face's capitals.
        label.siteSize = text.height * 1.4;
        label.colour = kDrawingGrey;
        writer.Label(FigurePart::Drawing, {}, std::move(label));
    }
}

void AddFrameAndTicks(FigureWriter& writer) {
    SiteFigure& figure = writer.figure();
    const Extent e = figure.extent;
    writer.Line(
        FigurePart::Frame,
        {{e.minX, e.minY}, {e.maxX, e.minY}, {e.maxX, e.maxY}, {e.minX, e.maxY}, {e.minX, e.minY}});
    const double side = std::max(e.maxX - e.minX, e.maxY - e.minY);
    const double step = RoundLength(side / 5);
    const double tick = side * 0.012;
    std::size_t longest = 0;
    // A step is at least a fiftieth of the side; the count's bound keeps
    // far-off coordinates, where adding a step changes nothing, from looping.
    const double firstX = std::ceil(e.minX / step) * step;
    for (int i = 0; i < kMostTicks && firstX + i * step <= e.maxX; ++i) {
        const double x = firstX + i * step;
        writer.Line(FigurePart::Tick, {{x, e.minY}, {x, e.minY + tick}});
        TextLabel label = Text(NumberText(x), {x, e.minY}, kTickLabelSize, HorizontalAlign::Centre,
                               VerticalAlign::Top);
        label.offsetY = -kTickLabelGap;
        writer.Label(FigurePart::Tick, {}, std::move(label));
    }
    const double firstY = std::ceil(e.minY / step) * step;
    for (int i = 0; i < kMostTicks && firstY + i * step <= e.maxY; ++i) {
        const double y = firstY + i * step;
        writer.Line(FigurePart::Tick, {{e.minX, y}, {e.minX + tick, y}});
        std::string text = NumberText(y);
        longest = std::max(longest, text.size());
        TextLabel label = Text(std::move(text), {e.minX, y}, kTickLabelSize, HorizontalAlign::Right,
                               VerticalAlign::Middle);
        label.offsetX = -kTickLabelGap;
        writer.Label(FigurePart::Tick, {}, std::move(label));
    }
    // Digits are about 0.55 em wide, a little more in some faces; the x
    // labels may stick out half their width past the corners.
    const double labelWidth =
        static_cast<double>(std::max<std::size_t>(longest, 4)) * 0.62 * kTickLabelSize;
    figure.room = {kTickLabelGap + labelWidth + 2, labelWidth / 2 + 2, 4,
                   kTickLabelGap + kTickLabelSize * 1.3 + 2};
}

void AddNorthArrow(FigureWriter& writer, const Extent& e, double margin) {
    const double x = e.maxX - margin * 0.5;
    const double tip = e.maxY - margin * 0.45;
    const double tail = e.maxY - margin * 0.95;
    const double half = margin * 0.12;
    writer.Add(FigurePart::NorthArrow, {},
               PolygonShape{
                   {{{x, tip}, {x + half, tail}, {x, tail + (tip - tail) * 0.3}, {x - half, tail}}},
                   Style{kBlack, kBlack, 0.8, {}, 1.0}});
    TextLabel north = Text("N", {x, tip}, 9, HorizontalAlign::Centre, VerticalAlign::Bottom);
    north.offsetY = 1.5;
    north.bold = true;
    writer.Label(FigurePart::NorthArrow, {}, std::move(north));
}

void AddScaleBar(FigureWriter& writer, const Extent& e, double margin) {
    const double length = RoundLength((e.maxX - e.minX) / 4);
    const double x = e.minX + margin * 0.4;
    const double y = e.minY + margin * 0.35;
    const double tick = margin * 0.12;
    writer.Line(FigurePart::ScaleBar,
                {{x, y + tick}, {x, y}, {x + length, y}, {x + length, y + tick}}, 1.2);
    writer.Line(FigurePart::ScaleBar, {{x + length / 2, y}, {x + length / 2, y + tick * 0.6}}, 0.8);
    for (const auto& [at, text] :
         {std::pair{x, std::string("0")}, std::pair{x + length, NumberText(length) + " m"}}) {
        TextLabel label =
            Text(text, {at, y + tick}, 7.5, HorizontalAlign::Centre, VerticalAlign::Bottom);
        label.offsetY = 1.5;
        label.halo = 2;
        writer.Label(FigurePart::ScaleBar, {}, std::move(label));
    }
}

}  // namespace

bool Finite(SitePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void Bounds::Add(SitePoint p) {
    if (!Finite(p)) return;
    if (empty_) {
        low_ = high_ = p;
        empty_ = false;
        return;
    }
    low_ = {std::min(low_.x, p.x), std::min(low_.y, p.y)};
    high_ = {std::max(high_.x, p.x), std::max(high_.y, p.y)};
}

void Bounds::Add(const std::vector<SitePoint>& points) {
    for (const SitePoint& p : points) Add(p);
}

void Bounds::AddCircle(SitePoint centre, double radius) {
    Add(SitePoint{centre.x - radius, centre.y - radius});
    Add(SitePoint{centre.x + radius, centre.y + radius});
}

void AddSite(Bounds& bounds, const Project& project) {
    bounds.Add(project.boundary);
    for (const Source& source : project.sources) bounds.Add(SourceRectangle(source));
    for (const Receptor& receptor : project.receptors) bounds.Add(receptor.position);
}

Extent ExtentAround(const Bounds& bounds) {
    SitePoint low = bounds.empty() ? SitePoint{} : bounds.low();
    SitePoint high = bounds.empty() ? SitePoint{} : bounds.high();
    const double centreX = (low.x + high.x) / 2;
    const double centreY = (low.y + high.y) / 2;
    double width = std::max(high.x - low.x, kSmallestSide);
    double height = std::max(high.y - low.y, kSmallestSide);
    const double margin = kMarginShare * std::max(width, height);
    width += 2 * margin;
    height += 2 * margin;
    height = std::clamp(height, width * kLowestAspect, width * kHighestAspect);
    width = std::max(width, height / kHighestAspect);
    return {centreX - width / 2, centreY - height / 2, centreX + width / 2, centreY + height / 2};
}

double MarginOf(const Extent& e) {
    return kMarginShare / (1 + 2 * kMarginShare) * std::min(e.maxX - e.minX, e.maxY - e.minY);
}

void FigureWriter::Add(FigurePart part, std::string subject, Primitive primitive) {
    figure_.items.push_back({part, std::move(subject), std::move(primitive)});
}

void FigureWriter::Line(FigurePart part, std::vector<SitePoint> points, double width) {
    Add(part, {}, PolylineShape{std::move(points), Style{kBlack, std::nullopt, width, {}, 1.0}});
}

void FigureWriter::Label(FigurePart part, std::string subject, TextLabel label) {
    Add(part, std::move(subject), std::move(label));
}

TextLabel Text(std::string text, SitePoint anchor, double size, HorizontalAlign horizontal,
               VerticalAlign vertical) {
    TextLabel label;
    label.text = std::move(text);
    label.anchor = anchor;
    label.size = size;
    label.horizontal = horizontal;
    label.vertical = vertical;
    return label;
}

std::vector<SitePoint> SourceRectangle(const Source& source) { return SourceCorners(source); }

void AddUnderlay(FigureWriter& writer, const Project& project,
                 const std::optional<PlanPicture>& picture, const dxf::PlanDrawing* drawing) {
    // The site plan drawing, when there is one, takes the picture's place.
    if (drawing != nullptr)
        AddDrawing(writer, *drawing);
    else if (project.plan)
        AddPicture(writer, *project.plan, picture);
}

void AddBoundary(FigureWriter& writer, const Project& project) {
    if (project.boundary.size() < 3) return;
    writer.Add(
        FigurePart::Boundary, {},
        PolygonShape{{project.boundary}, Style{kBlack, std::nullopt, 1.6, {9, 2.5, 2, 2.5}, 1.0}});
}

void AddSources(FigureWriter& writer, const Project& project) {
    for (const Source& source : project.sources) {
        std::vector<SitePoint> corners = SourceRectangle(source);
        if (corners.empty()) continue;
        writer.Add(FigurePart::Source, source.id,
                   PolygonShape{{std::move(corners)}, Style{kBlack, kGrey, 1.0, {}, 0.6}});
    }
}

void AddReceptors(FigureWriter& writer, const Project& project, const Highlighted& highlighted) {
    for (std::size_t i = 0; i < project.receptors.size(); ++i) {
        const Receptor& receptor = project.receptors[i];
        if (!Finite(receptor.position)) continue;
        const bool heavy = highlighted(i, receptor);
        writer.Add(heavy ? FigurePart::ReceptorInside : FigurePart::Receptor, receptor.name,
                   heavy ? Mark{receptor.position, MarkShape::Triangle, 9.5,
                                Style{kBlack, kBlack, 1.5, {}, 1.0}}
                         : Mark{receptor.position, MarkShape::Triangle, 7.5,
                                Style{kBlack, kWhite, 1.0, {}, 1.0}});
    }
}

void AddLabels(FigureWriter& writer, const Project& project, const Highlighted& highlighted) {
    for (const Source& source : project.sources) {
        if (!Finite(source.centre)) continue;
        TextLabel label = Text(source.name.empty() ? source.id : source.id + " " + source.name,
                               source.centre, 8, HorizontalAlign::Centre, VerticalAlign::Middle);
        label.halo = 2;
        writer.Label(FigurePart::SourceLabel, source.id, std::move(label));
    }
    for (std::size_t i = 0; i < project.receptors.size(); ++i) {
        const Receptor& receptor = project.receptors[i];
        if (!Finite(receptor.position)) continue;
        TextLabel label = Text(receptor.name, receptor.position, 8.5, HorizontalAlign::Left,
                               VerticalAlign::Middle);
        label.offsetX = 7;
        label.bold = highlighted(i, receptor);
        label.halo = 2;
        writer.Label(FigurePart::ReceptorLabel, receptor.name, std::move(label));
    }
}

void AddFurniture(FigureWriter& writer) {
    const Extent e = writer.figure().extent;
    const double margin = MarginOf(e);
    AddFrameAndTicks(writer);
    AddNorthArrow(writer, e, margin);
    AddScaleBar(writer, e, margin);
}

}  // namespace quorvel::project::figure_layers
