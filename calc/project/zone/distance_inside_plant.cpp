#include <cmath>

#include "calc/project/zone/local_plane.h"
#include "calc/project/zone/plant_outline.h"
#include "calc/project/zone/zone.h"

namespace quorvel::project {

using namespace zone_geometry;

std::optional<double> DistanceInsidePlant(const SitePoint& point,
                                          const std::vector<SitePoint>& boundary) {
    const LocalPlane plane = LocalPlane::Around({Disc{point, 1.0}}, boundary);
    const PlantOutline plant(boundary, plane);
    if (!plant.HasInside()) return std::nullopt;
    const Point p = plane.ToLocal(point);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y())) return std::nullopt;
    const double distance = plant.Distance(p);
    if (!plant.StrictlyInside(p, distance)) return std::nullopt;
    return distance;
}

}  // namespace quorvel::project
