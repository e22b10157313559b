#include <algorithm>
#include <cmath>
#include <optional>

#include <boost/geometry/algorithms/distance.hpp>

#include "calc/project/zone/local_plane.h"
#include "calc/project/zone/plant_outline.h"
#include "calc/project/zone/zone.h"

namespace quorvel::project {

using namespace zone_geometry;

std::vector<ReceptorResult> CheckReceptors(const std::vector<Receptor>& receptors,
                                           const std::vector<Disc>& discs,
                                           const std::vector<SitePoint>& boundary,
                                           const ZoneResult& /*zone*/) {
    const LocalPlane plane = LocalPlane::Around(discs, boundary);
    const std::vector<LocalDisc> local = LocalDiscs(discs, plane);
    const PlantOutline plant(boundary, plane);

    std::vector<ReceptorResult> results;
    results.reserve(receptors.size());
    for (const Receptor& receptor : receptors) {
        ReceptorResult result;
        result.name = receptor.name;
        const Point p = plane.ToLocal(receptor.position);
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            results.push_back(std::move(result));
            continue;
        }
        for (const LocalDisc& disc : local) {
            const double margin = bg::distance(p, disc.centre) - disc.radius;
            result.margin = result.margin ? std::min(*result.margin, margin) : margin;
        }
        result.inPlant = plant.StrictlyInside(p);
        result.inside = result.margin && *result.margin <= kOnEdge && !result.inPlant;
        results.push_back(std::move(result));
    }
    return results;
}

}  // namespace quorvel::project
