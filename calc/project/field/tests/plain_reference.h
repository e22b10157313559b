#pragma once
// The combined field the slow, plain way, to check the fast one against:
// every class and wind speed of the full weather set, the wind direction in
// steps of 0.1 degree then refined, every emission summed.

#include <vector>

#include "calc/project/field/field_setup.h"
#include "calc/project/project.h"
#include "model/meteorology.h"

namespace quorvel::project {

struct PlainValue {
    double c = 0.0;  // ug/m^3
    Stability stability = Stability::D;
    double windSpeed = 1.0;  // m/s
    double toward = 0.0;     // the direction the wind blows toward, degrees from the x axis
};

// The combined concentration of pollutant `pollutant` (an index into
// setup.pollutants) at `point`, over `conditions` for each source's own
// release height: every class and speed when `only` is empty, else only that
// class at that 10-m wind speed.
PlainValue PlainField(const FieldSetup& setup, std::size_t pollutant, const SitePoint& point,
                      const std::vector<std::pair<Stability, double>>& only = {});

}  // namespace quorvel::project
