#pragma once

#include <optional>
#include <string>

#include "calc/sheet/sheet_data.h"

namespace quorvel {

// The figure of concentration against distance as an inline SVG element,
// drawn in black and grey for printing: one vertex of the curve per discrete
// distance that has a distance and a concentration, S and 10 % of S as
// labelled horizontal lines, the buffer distance (m) as a vertical line when
// there is one, the largest maximum marked, both axes from 0 with ticks and
// units. `standard` is S in ug/m^3, above 0. The drawing is 680 units wide
// and `height` units high (200 or more; a smaller one is taken as 200): the
// calculation sheet's full size, or lower for a compact figure.
inline constexpr double kFullFigureHeight = 390;
std::string ConcentrationFigureSvg(const SheetFigures& figures, double standard,
                                   std::optional<double> bufferDistance,
                                   double height = kFullFigureHeight);

}  // namespace quorvel
