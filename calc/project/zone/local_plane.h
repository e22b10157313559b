#pragma once
// The plane the zone is worked out in: site coordinates shifted to a whole-metre
// origin near the plant, so that the overlay of many-sided polygons works on
// numbers of a few kilometres rather than of grid coordinates in the millions.

#include <vector>

#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/strategies/strategies.hpp>

#include "calc/project/project.h"
#include "calc/project/zone/zone.h"

namespace quorvel::project::zone_geometry {

namespace bg = boost::geometry;

using Point = bg::model::d2::point_xy<double>;
using Polygon = bg::model::polygon<Point>;  // clockwise outer rings, closed
using MultiPolygon = bg::model::multi_polygon<Polygon>;
using Linestring = bg::model::linestring<Point>;

// A point within this distance (m) of a circle or of the plant's outline is on
// it: far above the rounding of coordinates in the millions, far below the
// millimetre to which positions are given.
constexpr double kOnEdge = 1e-6;

// A disc in the local plane; radius in m, above 0.
struct LocalDisc {
    Point centre;
    double radius = 0.0;
};

class LocalPlane {
  public:
    // A plane whose origin is the whole-metre middle of the discs' centres and
    // the boundary's vertices (of those that are finite).
    static LocalPlane Around(const std::vector<Disc>& discs,
                             const std::vector<SitePoint>& boundary);
    // A plane whose origin is `origin`.
    static LocalPlane At(SitePoint origin) { return LocalPlane(origin); }

    Point ToLocal(const SitePoint& site) const;
    SitePoint ToSite(const Point& local) const;

  private:
    explicit LocalPlane(SitePoint origin) : origin_(origin) {}
    SitePoint origin_;
};

// The discs in `plane`, leaving out those whose centre or radius is not finite
// or whose radius is not above 0: they cover nothing.
std::vector<LocalDisc> LocalDiscs(const std::vector<Disc>& discs, const LocalPlane& plane);

}  // namespace quorvel::project::zone_geometry
