#pragma once

#include <optional>
#include <string>

#include "calc/local_time.h"
#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/project/sheet/plan_picture.h"

namespace quorvel::project {

// The project sheet of a project's run: a self-contained HTML document in
// Chinese, UTF-8, without scripts or outside files, laid out for A4 paper in
// black and white, in the look of the calculation sheet; its markup is also
// well-formed XML. It holds the project, the time, the program and the model;
// first, when a source is `beyond` or incomplete, why the result is not
// final; the sources, emissions, boundary and receptors; the result of each
// emission (the verdict as the main window shows it) and each source; the
// site figure, with the plan `picture` and the site plan `drawing` under it
// when given; the zone's area
// and farthest reach beyond the boundary; each receptor against the zone;
// the conclusion; and an appendix with every computed emission's figure and
// table of the discrete distances.
std::string ProjectSheetHtml(const Project& project, const ProjectResults& results,
                             const std::optional<PlanPicture>& picture,
                             const dxf::PlanDrawing* drawing = nullptr);

// "项目计算书_YYYYMMDD-HHMMSS.html" for the moment a project's run finished.
std::u16string ProjectSheetFileName(const LocalTime& finished);

}  // namespace quorvel::project
