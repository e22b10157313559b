#pragma once
// A legend for a site figure: a boxed list of samples with their texts in
// the figure's lower right corner. Its box and samples are in site metres,
// sized for a figure about 500 pt wide (the sheet's); its texts zoom with them.

#include <string>
#include <vector>

#include "calc/project/sheet/site_figure.h"
#include "calc/project/sheet/site_figure_layers.h"

namespace quorvel::project::figure_layers {

enum class LegendSample {
    None,      // a title row: bold text only
    Line,      // a short line in the style
    Area,      // a small rectangle in the style
    Triangle,  // a receptor's triangle in the style
};

struct LegendEntry {
    LegendSample sample = LegendSample::None;
    Style style;
    std::string text;  // UTF-8, one line
};

// The legend's height (m) on a figure of `extent`.
double LegendHeight(const std::vector<LegendEntry>& entries, const Extent& extent);

// The bounds widened downward so that a legend of `entries` fits below
// everything in them, in the lower right corner of the extent around them.
Extent ExtentWithLegend(const Bounds& bounds, const std::vector<LegendEntry>& entries);

// Draws the legend in the lower right corner of the writer's extent, as
// FigurePart::Legend items.
void AddLegend(FigureWriter& writer, const std::vector<LegendEntry>& entries);

}  // namespace quorvel::project::figure_layers
