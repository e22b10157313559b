#pragma once
// Where an entity's own coordinates lie in the drawing's world coordinates
// (WCS), seen from above: the object coordinate system of an extrusion
// direction and the placement of a block by an INSERT, both as one affine
// map of the plane.

#include "calc/project/dxf/dxf_drawing.h"

namespace quorvel::project::dxf {

// p -> (xx p.x + xy p.y + dx, yx p.x + yy p.y + dy)
struct Placement {
    double xx = 1.0;
    double xy = 0.0;
    double yx = 0.0;
    double yy = 1.0;
    double dx = 0.0;
    double dy = 0.0;

    DrawingPoint Apply(DrawingPoint p) const {
        return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
    }
    // This placement followed by `outer`.
    Placement Then(const Placement& outer) const;
    // The largest factor by which a length grows (>= 0).
    double LargestScale() const;
};

// From the OCS of `extrusion` (any length above 0) at height `elevation`
// to the WCS, by the arbitrary axis algorithm.
Placement OcsToWorld(const Direction& extrusion, double elevation);

// From the coordinates of `insert`'s block (with its base point `base`) to
// the insert's OCS: scaled, moved to the grid cell (`column`, `row`) of a
// MINSERT, turned and moved to the insertion point.
Placement BlockToInsert(const Entity& insert, DrawingPoint base, int column, int row);

}  // namespace quorvel::project::dxf
