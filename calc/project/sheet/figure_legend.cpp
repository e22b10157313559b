#include "calc/project/sheet/figure_legend.h"

#include <algorithm>

#include "calc/unicode_text.h"

namespace quorvel::project::figure_layers {
namespace {

constexpr double kNominalWidth = 500;  // pt that the extent's width takes on the sheet
constexpr double kRow = 12;            // pt
constexpr double kPad = 5;             // pt
constexpr double kSampleWidth = 22;    // pt
constexpr double kSampleGap = 5;       // pt between a sample and its text
constexpr double kTextSize = 7.5;      // pt
constexpr double kTitleSize = 8;       // pt

double PerPoint(const Extent& extent) { return (extent.maxX - extent.minX) / kNominalWidth; }

// A text's width (pt) at `size`: a Chinese character an em, others about half.
double TextWidth(const std::string& text, double size) {
    double width = 0;
    for (const char16_t unit : FromUtf8(text)) width += unit < 0x2E80 ? 0.58 : 1.0;
    return width * size;
}

double BoxWidth(const std::vector<LegendEntry>& entries) {
    double widest = 0;
    for (const LegendEntry& entry : entries) {
        widest =
            std::max(widest, entry.sample == LegendSample::None
                                 ? TextWidth(entry.text, kTitleSize)
                                 : kSampleWidth + kSampleGap + TextWidth(entry.text, kTextSize));
    }
    return widest + 2 * kPad;
}

double BoxHeight(const std::vector<LegendEntry>& entries) {
    return static_cast<double>(entries.size()) * kRow + 2 * kPad - 2;
}

}  // namespace

double LegendHeight(const std::vector<LegendEntry>& entries, const Extent& extent) {
    return entries.empty() ? 0.0 : BoxHeight(entries) * PerPoint(extent);
}

Extent ExtentWithLegend(const Bounds& bounds, const std::vector<LegendEntry>& entries) {
    Extent extent = ExtentAround(bounds);
    if (entries.empty() || bounds.empty()) return extent;
    // Twice: the strip widens the extent, which lengthens the strip a little.
    for (int pass = 0; pass < 2; ++pass) {
        Bounds widened = bounds;
        widened.Add(SitePoint{bounds.high().x, bounds.low().y - LegendHeight(entries, extent)});
        extent = ExtentAround(widened);
    }
    return extent;
}

void AddLegend(FigureWriter& writer, const std::vector<LegendEntry>& entries) {
    if (entries.empty()) return;
    const Extent e = writer.figure().extent;
    const double m = PerPoint(e);
    const double inset = MarginOf(e) * 0.2;
    const double right = e.maxX - inset;
    const double left = right - BoxWidth(entries) * m;
    const double bottom = e.minY + inset;
    const double top = bottom + BoxHeight(entries) * m;
    writer.Add(FigurePart::Legend, {},
               PolygonShape{{{{left, bottom}, {right, bottom}, {right, top}, {left, top}}},
                            Style{kBlack, kWhite, 0.6, {}, 1.0}});
    double y = top - (kPad + kRow / 2 - 1) * m;
    for (const LegendEntry& entry : entries) {
        const double x = left + kPad * m;
        const double end = x + kSampleWidth * m;
        const double half = 3.5 * m;
        switch (entry.sample) {
            case LegendSample::None:
                break;
            case LegendSample::Line:
                writer.Add(FigurePart::Legend, {}, PolylineShape{{{x, y}, {end, y}}, entry.style});
                break;
            case LegendSample::Area:
                writer.Add(
                    FigurePart::Legend, {},
                    PolygonShape{{{{x, y - half}, {end, y - half}, {end, y + half}, {x, y + half}}},
                                 entry.style});
                break;
            case LegendSample::Triangle:
                writer.Add(FigurePart::Legend, {},
                           Mark{{(x + end) / 2, y}, MarkShape::Triangle, 8, entry.style});
                break;
        }
        const bool title = entry.sample == LegendSample::None;
        const double size = title ? kTitleSize : kTextSize;
        TextLabel label = Text(entry.text, {title ? x : end + kSampleGap * m, y}, size,
                               HorizontalAlign::Left, VerticalAlign::Middle);
        // The texts zoom with the box, so that a figure painted smaller or
        // larger than the sheet's keeps them inside it.
        label.siteSize = size * m;
        label.bold = title;
        writer.Label(FigurePart::Legend, {}, std::move(label));
        y -= kRow * m;
    }
}

}  // namespace quorvel::project::figure_layers
