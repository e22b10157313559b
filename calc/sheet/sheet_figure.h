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
// units. `standard` is S in ug/m^3, above 0.
std::string ConcentrationFigureSvg(const SheetFigures& figures, double standard,
                                   std::optional<double> bufferDistance);

}  // namespace quorvel
