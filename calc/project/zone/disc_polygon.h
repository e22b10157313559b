#pragma once

#include "calc/project/zone/local_plane.h"

namespace quorvel::project::zone_geometry {

// Corners of a disc's polygon. Its circumradius is chosen so that the polygon
// has the disc's area exactly; its outline then strays from the circle by at
// most pi^2 / (3 n^2) of the radius outwards at the corners and half that
// inwards between them: 3.1e-6 r at n = 1024, 1.6 cm at 5 km. A part of a disc
// cut off by the boundary or by other discs keeps its area to within that
// fraction of r times its arc, a few millionths of it.
constexpr int kDiscCorners = 1024;

// How far (m) the corners of the polygon of a disc of `radius` (m) lie outside
// its circle.
double DiscOvershoot(double radius);

// The polygon of `disc` (clockwise, closed), its first corner at `phase`
// (radians counter-clockwise from the x axis).
Polygon DiscPolygon(const LocalDisc& disc, double phase);

}  // namespace quorvel::project::zone_geometry
