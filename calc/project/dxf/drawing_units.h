#pragma once
// Drawing units and the map from drawing coordinates to site coordinates
// that a project's tie to its drawing fixes.

#include <optional>
#include <string_view>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/project/project.h"

namespace quorvel::project::dxf {

// 0.001 for mm, 0.01 for cm, 1 for m.
double MetresPerUnit(DrawingUnit unit);

// "mm", "cm", "m", as the project file and the command line write them.
std::string_view UnitName(DrawingUnit unit);
std::optional<DrawingUnit> UnitFromName(std::string_view name);

// The unit the drawing's $INSUNITS names (4 mm, 5 cm, 6 m); nullopt when it
// names none of those or is missing.
std::optional<DrawingUnit> ProposedUnit(const Drawing& drawing);

// site (m) = R(-north) * (point - origin) * metres per unit.
SitePoint DrawingToSite(const CadTie& tie, DrawingPoint point);

// The inverse: drawing = origin + R(north) * site / metres per unit, in
// drawing units; `site` in m.
DrawingPoint SiteToDrawing(const CadTie& tie, SitePoint site);

// The angle (degrees) that a direction at `drawingDeg` in the drawing has on the site.
double SiteAngle(const CadTie& tie, double drawingDeg);

}  // namespace quorvel::project::dxf
