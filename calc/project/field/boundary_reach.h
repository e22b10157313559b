#pragma once
// How far a region outside the plant reaches from the boundary, which sides
// it lies off, and the protection area of a distance from those sides.

#include <optional>
#include <vector>

#include "calc/project/field/level_polygons.h"
#include "calc/project/project.h"

namespace quorvel::project::field_geometry {

// The plant boundary's outline: sides numbered from 1, side i from vertex i
// to vertex i + 1, the last back to the first.
class BoundaryOutline {
  public:
    // `boundary`: at least 3 vertices, a closing vertex equal to the first allowed.
    BoundaryOutline(const std::vector<SitePoint>& boundary, const Plane& plane);

    std::size_t SideCount() const { return vertices_.size(); }

    // The distance (m) from p to the outline.
    double Distance(const Point& p) const;

    // The sides (numbered from 1) on which p's nearest outline points lie; a
    // nearest point on a vertex (within 1 mm) counts for both of its sides.
    std::vector<int> NearestSides(const Point& p) const;

    // The points within `distance` m of the given sides (round ends), as
    // polygons; the plant's inside is not taken away.
    MultiPolygon Band(const std::vector<int>& sides, double distance) const;

  private:
    std::vector<Point> vertices_;
};

struct Reach {
    double distance = 0.0;    // m, the largest distance of a point of the region from the outline
    std::optional<Point> at;  // where it is reached; empty for an empty region
    std::vector<int> sides;   // every side some point of the region lies nearest to, ascending
};

// The reach of `region` (outside the plant): its rings are walked in steps of
// at most 0.25 m, and `inner` points (grid points inside it) are added, so
// that a farthest point inside a notch of the outline is found too.
Reach RegionReach(const MultiPolygon& region, const std::vector<Point>& inner,
                  const BoundaryOutline& outline);

}  // namespace quorvel::project::field_geometry
