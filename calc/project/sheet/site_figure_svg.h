#pragma once

#include <string>

#include "calc/project/sheet/site_figure.h"

namespace quorvel::project {

// The site figure as an inline SVG element, north up: the extent fills the
// drawing's width less the figure's label room, and the height follows from
// the extent's aspect ratio. `widthPx` is the drawing's width in its own
// units (px), 100 to 10000 (taken into that range otherwise), e.g. 640; one
// point of the figure is one unit. The plan picture, when it has bytes, is
// embedded as a data URI. Well-formed XML; its one id is `clipId` (ASCII
// letters, digits and hyphens), which must differ between the figures of one
// page, since each figure's clipping refers to it.
std::string SiteFigureSvg(const SiteFigure& figure, double widthPx,
                          const std::string& clipId = "site-extent");

}  // namespace quorvel::project
