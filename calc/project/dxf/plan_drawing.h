#pragma once
// The site plan drawing as the site figure draws it under the plant: the
// lines and texts of the tie's layers, in site coordinates.

#include <filesystem>
#include <string>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project::dxf {

struct PlanDrawingText {
    std::string text;     // UTF-8, one line
    SitePoint at;         // m, the text's insertion point
    double height = 0.0;  // m, the height of its capitals
};

struct PlanDrawing {
    std::vector<std::vector<SitePoint>> lines;  // m; a closed outline repeats its first point
    std::vector<PlanDrawingText> texts;
};

// The lines (polylines, lines, arcs, circles, with arcs drawn within 0.1 m)
// and texts of `tie.layers` in `drawing`, through the tie's map to the site.
Result<PlanDrawing> DrawingUnderFigure(const Drawing& drawing, const CadTie& tie);

// The same for the tie's file, relative to `projectFolder` (the project
// file's folder) unless it is absolute; the message names the file.
Result<PlanDrawing> LoadPlanDrawing(const std::filesystem::path& projectFolder, const CadTie& tie);

}  // namespace quorvel::project::dxf
