#pragma once
// The current rule's figures: the site with one pollutant's combined field
// (its contours and exceedance), or with the protection area of all
// pollutants; the same drawing primitives as the site figure.

#include <optional>
#include <string>

#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/sheet/plan_picture.h"
#include "calc/project/sheet/site_figure.h"

namespace quorvel::project {

// Which picture of the current rule: one pollutant's contours and exceedance,
// or (pollutant empty) all pollutants with the protection area.
struct FieldFigureChoice {
    std::string pollutant;
};

// The figure of `choice` for the project's results. Both start from the site
// figure's plan, boundary, sources, receptors, frame, ticks, north arrow and
// scale bar (without the per-source discs and zone), and end with a legend in
// the lower right corner, below everything drawn:
// - a pollutant: its exceedance outside the plant shaded, its contours
//   (1 S solid, 0.5 S dashed, each labelled "1.0 S", "0.5 S"), and the
//   receptors where it reaches S drawn heavier;
// - all pollutants: the protection area shaded with "D = 87 m" on it (D
//   rounded up to the whole metre) on a line from the boundary to where it is
//   reached, every pollutant's exceedance shaded darker, the exceeding sides
//   of the boundary as heavy lines, the receptors in the area drawn heavier.
// A result that is not final, a pollutant in error and a missing field are
// said in a text at the top left ("结果非最终：…", "未能计算：…"). The extent
// holds the area, the exceedance and the contours. Non-finite coordinates
// are left out.
SiteFigure BuildFieldFigure(const Project& project, const ProjectResults& results,
                            const FieldFigureChoice& choice,
                            const std::optional<PlanPicture>& picture = std::nullopt,
                            const dxf::PlanDrawing* drawing = nullptr);

}  // namespace quorvel::project
