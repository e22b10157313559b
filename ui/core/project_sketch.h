#pragma once
// The project as far as it can be drawn while it is being typed: the plan
// view follows every edit, also before the whole project can be computed.

#include "calc/project/project.h"
#include "ui/core/project_tables.h"

namespace quorvel {

// The rows of `tables` that can be placed on the site: sources with a usable
// centre, width and length (above 0) and angle (blank is 0); boundary
// vertices and receptors with usable coordinates; rows with any other fault
// are still drawn. Rows that cannot be placed are left out; the plan and
// the location are taken as they are. Emissions are left out: the figure
// does not draw them.
project::Project SketchOfTables(const ProjectTables& tables);

}  // namespace quorvel
