#pragma once
// Contour lines of a grid of values by marching squares.

#include <functional>
#include <vector>

#include "calc/project/field/field_grid.h"
#include "calc/project/project.h"

namespace quorvel::project {

// A ring around part of the region where the value is at or above the level:
// the region lies on its left, so outer rings turn counter-clockwise and
// holes clockwise. No closing vertex.
struct LevelRing {
    std::vector<SitePoint> points;  // m
    std::vector<bool> onFrame;      // per point: on the grid's outer edge
    bool TouchesFrame() const;
};

// Where the level is crossed between two grid points a and b, given their
// values (one at or above the level, the other below).
using CrossingFinder =
    std::function<SitePoint(const SitePoint& a, const SitePoint& b, double va, double vb)>;

// The value met linearly between a and b.
SitePoint LinearCrossing(const SitePoint& a, const SitePoint& b, double va, double vb,
                         double level);

// The rings of `level` in `grid`. Beyond the grid the value counts as below
// the level, so every ring closes: where the region reaches the grid's edge,
// its ring runs along that edge (those points are marked onFrame). Saddle
// cells are decided by the mean of their corners.
std::vector<LevelRing> TraceLevel(const FieldGrid& grid, double level,
                                  const CrossingFinder& crossing);

// The contour lines of rings: each ring whole where it does not touch the
// frame, else its runs between frame points as open lines. A closed line
// repeats its first point at the end.
std::vector<std::vector<SitePoint>> ContourLines(const std::vector<LevelRing>& rings);

}  // namespace quorvel::project
