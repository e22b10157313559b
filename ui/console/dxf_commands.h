#pragma once
// The console tool's commands for site plan drawings:
//   --list-layers PLAN.dxf
//   --import-dxf PLAN.dxf --boundary-layer L [--source-layer L --height H]
//       [--receptor-layer L] [--unit mm|cm|m] [--origin X,Y] [--north DEG]
//       --save PROJECT.qvproj

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/project.h"

namespace quorvel {

// Runs the drawing command that `arguments` (without the program's name)
// name, and gives its exit code: 0 done, 2 the drawing, the project or the
// command line cannot be used (nothing is written then). nullopt when the
// arguments name no drawing command. The listing and the notes go to `out`,
// messages to `err`, in UTF-8.
std::optional<int> RunDxfCommand(const std::vector<std::u16string>& arguments, std::ostream& out,
                                 std::ostream& err);

// The site plan drawing to draw under the sheet's figure: nullopt when the
// project (read from `projectFile`) has no tie to a drawing, or when the
// drawing cannot be read (then the message goes to `err`).
std::optional<project::dxf::PlanDrawing> SheetDrawing(const project::Project& project,
                                                      const std::filesystem::path& projectFile,
                                                      std::ostream& err);

}  // namespace quorvel
