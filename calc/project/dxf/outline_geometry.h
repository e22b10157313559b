#pragma once
// Measures of closed outlines in site coordinates (m): area, centroid,
// whether a point lies inside, and the rectangle a source is entered as.

#include <optional>
#include <vector>

#include "calc/project/project.h"

namespace quorvel::project::dxf {

// A rectangle as a source holds it.
struct SourceRectangle {
    SitePoint centre;       // m
    double length = 0.0;    // m, the longer side
    double width = 0.0;     // m
    double angleDeg = 0.0;  // from the x axis to the length side, counter-clockwise, [0, 180)
};

// The area of the outline (no closing vertex), m^2, >= 0.
double OutlineArea(const std::vector<SitePoint>& outline);

// The centroid of the outline's inside; the mean of its vertices when it
// has no area.
SitePoint OutlineCentroid(const std::vector<SitePoint>& outline);

// True when `point` lies inside the outline (even-odd rule).
bool OutlineContains(const std::vector<SitePoint>& outline, SitePoint point);

// The rectangle when the outline is one: four corners, each within 1 degree
// of a right angle; the sides are averaged over each opposite pair.
std::optional<SourceRectangle> ExactRectangle(const std::vector<SitePoint>& outline);

// The smallest rectangle, turned any way, that holds the outline; nullopt
// when the outline has no area.
std::optional<SourceRectangle> SmallestEnclosingRectangle(const std::vector<SitePoint>& outline);

}  // namespace quorvel::project::dxf
