#pragma once
// The project sheet's section on the current rule: the combined field of all
// sources and the protection area from the plant boundary.

#include <optional>
#include <string>

#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/sheet/plan_picture.h"

namespace quorvel::project {

// The section as HTML, headed "<number>、全厂叠加（现行导则做法）": the method
// (the screening estimate, or for each pollutant from a file the file, its
// period and grids); a table per pollutant (S, the largest concentration
// outside the plant, its ratio and place, the cut, the distance, a failed
// pollutant's reason); a site figure per computed pollutant with its
// contours and exceedance, and one of the protection area, numbered from
// "图 <firstFigure>"; the receptors with each pollutant's ratio, whether they
// lie in the area and the sources' shares; and the conclusion sentences.
// Empty when the field was not computed. `widthPx`: the figures' width as
// SiteFigureSvg takes it.
std::string FieldSectionHtml(const Project& project, const ProjectResults& results,
                             const std::optional<PlanPicture>& picture,
                             const dxf::PlanDrawing* drawing, const std::string& number,
                             int firstFigure, double widthPx);

}  // namespace quorvel::project
