#pragma once
// A source as the combined field sees it: its rectangle placed and turned on
// the site, and the screening model's concentration for it at unit rate.

#include <vector>

#include "calc/project/project.h"
#include "model/area_concentration.h"
#include "model/area_source.h"
#include "model/meteorology.h"

namespace quorvel::project {

struct FieldSource {
    SitePoint centre;         // m
    double larger_angle = 0;  // degrees counter-clockwise from the x axis to the larger side
    // The rectangle, its release height and land use; emission_rate is 1
    // g/(s m^2), so that a concentration scales with the emission's rate per area.
    AreaSource area;
};

// The weather the combined field searches: each class at its lowest wind
// speed of the full set (1 m/s), which gives every class its largest
// concentrations; classes that repeat an earlier one for every source (urban
// A and B, E and F) are left out.
std::vector<Stability> FieldClasses(const std::vector<FieldSource>& sources, LandUse land_use);

// The weather of class `stability` at its lowest wind speed over a release at
// release_height (m).
MetCondition LowestWind(Stability stability, double release_height, LandUse land_use);

}  // namespace quorvel::project
