#pragma once

#include <vector>

#include "calc/project/project.h"
#include "calc/project/zone/local_plane.h"

namespace quorvel::project::zone_geometry {

// The plant boundary in the local plane: its inside as a polygon corrected to
// the overlay's turning sense, and its outline as a closed line.
class PlantOutline {
  public:
    // `boundary`: site coordinates, either turning sense, a closing vertex equal
    // to the first allowed; empty for no boundary. Vertices that are not finite
    // are left out.
    PlantOutline(const std::vector<SitePoint>& boundary, const LocalPlane& plane);

    // Whether there is a boundary at all.
    bool Present() const { return !outline_.empty(); }
    // Whether the boundary encloses anything (3 vertices or more).
    bool HasInside() const { return hasInside_; }
    const Polygon& Inside() const { return polygon_; }

    // The distance (m, 0 or more) from `p` to the outline; 0 without a boundary.
    double Distance(const Point& p) const;
    // Whether `p` lies inside the boundary and farther than kOnEdge from its
    // outline: a point on the fence line is outside the plant.
    bool StrictlyInside(const Point& p) const { return StrictlyInside(p, Distance(p)); }
    // The same for a point whose distance (m) to the outline is known.
    bool StrictlyInside(const Point& p, double distance) const;

  private:
    Polygon polygon_;
    Linestring outline_;
    bool hasInside_ = false;
};

}  // namespace quorvel::project::zone_geometry
