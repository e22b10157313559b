#pragma once
// Lines and arcs drawn end to end around an area, joined into the closed
// outlines they make.

#include <vector>

#include "calc/project/dxf/drawing_shapes.h"

namespace quorvel::project::dxf {

// The closed outlines that the open `paths` (all of one layer) make when
// joined at ends closer than `tolerance` (drawing units); a path belongs to
// one outline at most, and chains that do not close are left out. An outline
// made of straight lines only keeps its corners exact.
std::vector<Shape> JoinedOutlines(const std::vector<const Shape*>& paths, double tolerance);

}  // namespace quorvel::project::dxf
