#include "calc/sheet/sheet_figure.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "calc/sheet/markup.h"

namespace quorvel {
namespace {

// The drawing's own units; the page scales it to its width.
constexpr double kWidth = 680;
constexpr double kLeft = 76;
constexpr double kRight = 20;
constexpr double kTop = 34;
constexpr double kBottom = 56;
constexpr double kPlotWidth = kWidth - kLeft - kRight;
constexpr double kSmallestHeight = 200;

// A tick step of 1, 2 or 5 times a power of ten that cuts `range` (above 0)
// into about `parts` parts.
double NiceStep(double range, int parts) {
    const double raw = range / parts;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * magnitude >= raw) return multiple * magnitude;
    }
    return 10.0 * magnitude;
}

struct Axis {
    double top = 1;  // the value at the axis' far end, a whole number of steps
    double step = 1;
};

Axis AxisFor(double largest) {
    if (!(largest > 0) || !std::isfinite(largest)) return Axis{};
    const double step = NiceStep(largest, 5);
    if (!(step > 0) || !std::isfinite(step)) return Axis{};
    return Axis{std::max(step, std::ceil(largest / step) * step), step};
}

std::string At(double value) { return FixedText(value, 1); }

class Drawing {
  public:
    Drawing(Axis x, Axis y, double height)
        : x_(x), y_(y), height_(height), plotHeight_(height - kTop - kBottom) {}

    double X(double distance) const {
        return kLeft + std::clamp(distance / x_.top, 0.0, 1.0) * kPlotWidth;
    }
    double Y(double concentration) const {
        return kTop + plotHeight_ - std::clamp(concentration / y_.top, 0.0, 1.0) * plotHeight_;
    }

    void Line(const char* cssClass, double x1, double y1, double x2, double y2) {
        svg_ += "<line class=\"" + std::string(cssClass) + "\" x1=\"" + At(x1) + "\" y1=\"" +
                At(y1) + "\" x2=\"" + At(x2) + "\" y2=\"" + At(y2) + "\"/>\n";
    }
    void Text(const char* cssClass, double x, double y, const char* anchor,
              const std::string& escapedText, const std::string& extra = "") {
        svg_ += "<text class=\"" + std::string(cssClass) + "\" x=\"" + At(x) + "\" y=\"" + At(y) +
                "\" text-anchor=\"" + anchor + "\"" + extra + ">" + escapedText + "</text>\n";
    }
    void Raw(const std::string& markup) { svg_ += markup; }
    std::string Take() { return std::move(svg_); }

    const Axis& x() const { return x_; }
    const Axis& y() const { return y_; }
    double height() const { return height_; }
    double plotHeight() const { return plotHeight_; }

  private:
    Axis x_;
    Axis y_;
    double height_;
    double plotHeight_;
    std::string svg_;
};

void DrawAxes(Drawing& d) {
    const double bottom = kTop + d.plotHeight();
    for (int i = 0; i * d.x().step <= d.x().top * (1 + 1e-9); ++i) {
        const double value = i * d.x().step;
        const double x = d.X(value);
        if (i > 0) d.Line("grid", x, kTop, x, bottom);
        d.Line("tick", x, bottom, x, bottom + 5);
        d.Text("tick-label", x, bottom + 18, "middle", NumberText(value));
    }
    for (int i = 0; i * d.y().step <= d.y().top * (1 + 1e-9); ++i) {
        const double value = i * d.y().step;
        const double y = d.Y(value);
        if (i > 0) d.Line("grid", kLeft, y, kLeft + kPlotWidth, y);
        d.Line("tick", kLeft - 5, y, kLeft, y);
        d.Text("tick-label", kLeft - 8, y + 4, "end", NumberText(value));
    }
    d.Raw("<rect class=\"frame\" x=\"" + At(kLeft) + "\" y=\"" + At(kTop) + "\" width=\"" +
          At(kPlotWidth) + "\" height=\"" + At(d.plotHeight()) + "\"/>\n");
    d.Text("axis-title", kLeft + kPlotWidth / 2, d.height() - 12, "middle", "距面源中心的距离 (m)");
    const double middle = kTop + d.plotHeight() / 2;
    d.Text("axis-title", 18, middle, "middle", "浓度 (µg/m³)",
           " transform=\"rotate(-90 18 " + At(middle) + ")\"");
}

void DrawCurve(Drawing& d, const SheetFigures& figures) {
    std::string points;
    for (const SheetRow& row : figures.rows) {
        if (!row.distance || !row.concentration) continue;
        if (!points.empty()) points += ' ';
        points += At(d.X(*row.distance)) + "," + At(d.Y(*row.concentration));
    }
    d.Raw("<polyline class=\"curve\" points=\"" + points + "\"/>\n");
}

// A horizontal line at `level` with its label at the right end, its baseline
// at `labelY`.
void DrawLevel(Drawing& d, const char* cssClass, double level, const std::string& label,
               double labelY) {
    const double y = d.Y(level);
    d.Line(cssClass, kLeft, y, kLeft + kPlotWidth, y);
    d.Text("level-label", kLeft + kPlotWidth - 4, labelY, "end", Escaped(label));
}

// S is labelled above its line; 10 % of S below its line where that stays
// clear of the axis, else above it, with the label of S moved up to keep a
// line of text between the two.
void DrawLevels(Drawing& d, double standard) {
    constexpr double kTextHeight = 14;
    const double tenthY = d.Y(standard * 0.1);
    const double tenthLabelY = tenthY + kTextHeight - 1 < kTop + d.plotHeight() - 2
                                   ? tenthY + kTextHeight - 1
                                   : tenthY - 4;
    const double standardLabelY = std::min(d.Y(standard) - 4, tenthLabelY - kTextHeight);
    DrawLevel(d, "standard", standard, "S = " + NumberText(standard) + " µg/m³", standardLabelY);
    DrawLevel(d, "tenth", standard * 0.1, "10% S = " + NumberText(standard * 0.1) + " µg/m³",
              tenthLabelY);
}

void DrawBuffer(Drawing& d, double distance) {
    const double x = d.X(distance);
    d.Line("buffer", x, kTop, x, kTop + d.plotHeight());
    const double labelX = std::clamp(x, kLeft + 60, kLeft + kPlotWidth - 60);
    d.Text("buffer-label", labelX, kTop - 8, "middle", "建议距离 " + NumberText(distance) + " m");
}

void DrawMaximum(Drawing& d, double cmax, double distance) {
    const double x = d.X(distance);
    const double y = d.Y(cmax);
    d.Raw("<circle class=\"maximum\" cx=\"" + At(x) + "\" cy=\"" + At(y) + "\" r=\"3.5\"/>\n");
    const bool labelLeft = x > kLeft + kPlotWidth * 0.6;
    const double labelY = y < kTop + 16 ? y + 16 : y - 7;
    d.Text("maximum-label", labelLeft ? x - 7 : x + 7, labelY, labelLeft ? "end" : "start",
           "Cmax = " + NumberText(cmax) + " µg/m³（" + NumberText(distance) + " m）");
}

}  // namespace

std::string ConcentrationFigureSvg(const SheetFigures& figures, double standard,
                                   std::optional<double> bufferDistance, double height) {
    if (!(height >= kSmallestHeight)) height = kSmallestHeight;
    double farthest = bufferDistance.value_or(0.0);
    double highest = standard;
    for (const SheetRow& row : figures.rows) {
        if (row.distance) farthest = std::max(farthest, *row.distance);
        if (row.concentration) highest = std::max(highest, *row.concentration);
    }
    const bool maximumShown = figures.cmax && figures.cmaxDistance;
    if (maximumShown) {
        farthest = std::max(farthest, *figures.cmaxDistance);
        highest = std::max(highest, *figures.cmax);
    }
    Drawing d(AxisFor(farthest), AxisFor(highest * 1.08), height);

    d.Raw("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"figure\" viewBox=\"0 0 " + At(kWidth) +
          " " + At(height) + "\" role=\"img\" aria-label=\"浓度随距离的变化\">\n");
    d.Raw(
        "<style>"
        ".frame{fill:none;stroke:#000;stroke-width:0.8}"
        ".grid{stroke:#c8c8c8;stroke-width:0.5}"
        ".tick{stroke:#000;stroke-width:0.8}"
        ".curve{fill:none;stroke:#000;stroke-width:1.6;stroke-linejoin:round}"
        ".standard{stroke:#000;stroke-width:1.1;stroke-dasharray:7 4}"
        ".tenth{stroke:#555;stroke-width:1;stroke-dasharray:2 3}"
        ".buffer{stroke:#000;stroke-width:1.1;stroke-dasharray:9 3 2 3}"
        ".maximum{fill:#000}"
        "text{font-size:12px;fill:#000}"
        ".tick-label{font-size:11px}"
        // Labels keep a white edge so that lines under them do not hide them.
        ".level-label,.maximum-label,.buffer-label{paint-order:stroke;stroke:#fff;"
        "stroke-width:3px;stroke-linejoin:round}"
        "</style>\n");
    DrawAxes(d);
    DrawLevels(d, standard);
    if (bufferDistance) DrawBuffer(d, *bufferDistance);
    DrawCurve(d, figures);
    if (maximumShown) DrawMaximum(d, *figures.cmax, *figures.cmaxDistance);
    d.Raw("</svg>\n");
    return d.Take();
}

}  // namespace quorvel
