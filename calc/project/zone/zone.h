#pragma once
// The protection zone: the part of the union of the sources' discs that lies
// outside the plant boundary, and the receptors checked against it.

#include <optional>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"

namespace quorvel::project {

// A source's control range: the disc of radius `radius` (m, > 0) around its centre.
// Discs whose radius is not above 0 or whose numbers are not finite cover
// nothing and are left out everywhere.
struct Disc {
    SitePoint centre;
    double radius = 0.0;
};

// The zone of `discs` outside `boundary` (a usable boundary without a closing
// vertex, in either turning sense, or empty for none). `bounded` is copied into
// the result. Site coordinates of any size are fine: the work is done about a
// local origin.
//
// - `area` (m^2) is within a few millionths of the exact figure: the discs are
//   drawn as 1024-sided polygons of the discs' own area.
// - `polygons` are those polygons' union less the plant's inside, for drawing.
// - `maxBeyondBoundary` (m) is the largest distance from the boundary's
//   outline to a point of the exact zone, to within 0.05 m + 1e-4 of it: 0 for
//   an empty zone, empty without a boundary.
// - Should the polygons' overlay fail, `error` says so, `area` is 0,
//   `polygons` is empty and `bounded` is false; `maxBeyondBoundary` still holds.
ZoneResult ComputeZone(const std::vector<Disc>& discs, const std::vector<SitePoint>& boundary,
                       bool bounded);

// Each receptor against the zone, in the order given, decided from the exact
// discs and boundary (`zone` is its drawing and is not needed). A point within
// 1 um of a circle or of the outline is on it.
// - `inPlant`: strictly inside the boundary. A receptor on the fence line is
//   outside the plant, so it counts among the receptors a disc must not reach.
// - `inside`: in some disc (on its circle included) and not in the plant; a
//   point of the outline within a disc is on the zone's edge, so inside.
// - `margin` (m): the smallest |p - centre| - radius over the discs, negative
//   inside a disc; empty without a disc.
std::vector<ReceptorResult> CheckReceptors(const std::vector<Receptor>& receptors,
                                           const std::vector<Disc>& discs,
                                           const std::vector<SitePoint>& boundary,
                                           const ZoneResult& zone);

// The distance (m) from `point` to the outline of `boundary` when the point
// lies strictly inside it (a point on the fence line is outside the plant);
// empty otherwise and without a boundary.
std::optional<double> DistanceInsidePlant(const SitePoint& point,
                                          const std::vector<SitePoint>& boundary);

}  // namespace quorvel::project
