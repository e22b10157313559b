#pragma once
// An independent check of the area integral: the area as a fine grid of point
// sources, each a Gaussian plume, summed directly.

#include <cmath>
#include <numbers>

#include "model/area_source.h"
#include "model/dispersion_coefficients.h"
#include "model/meteorology.h"
#include "model/vertical_term.h"

namespace quorvel {

// A rectangle emitting 10 g/s in all, for the tests.
inline AreaSource Source(double height, double larger, double smaller, LandUse land) {
    AreaSource s;
    s.emission_rate = 10.0 / (larger * smaller);
    s.release_height = height;
    s.larger_side = larger;
    s.smaller_side = smaller;
    s.land_use = land;
    return s;
}

// The receptor `downwind` m along the wind from the centre and `crosswind` m to
// its left, the larger side turned angle_deg counter-clockwise from the wind.
inline double DirectSum(const AreaSource& s, const MetCondition& met, double downwind,
                        double crosswind, double angle_deg, int cells_along, int cells_across) {
    const DispersionCoefficients spread(met.stability, s.land_use);
    const VerticalTerm vertical(s.release_height, s.receptor_height, met.has_lid,
                                met.mixing_height);
    const double angle = angle_deg * std::numbers::pi / 180.0;
    const double du = s.larger_side / cells_along;
    const double dv = s.smaller_side / cells_across;
    double sum = 0.0;
    for (int i = 0; i < cells_along; ++i) {
        const double u = -0.5 * s.larger_side + (i + 0.5) * du;
        for (int j = 0; j < cells_across; ++j) {
            const double v = -0.5 * s.smaller_side + (j + 0.5) * dv;
            const double x = downwind - (u * std::cos(angle) - v * std::sin(angle));
            const double y = crosswind - (u * std::sin(angle) + v * std::cos(angle));
            if (x < 1.0) continue;
            const Sigmas sg = spread.At(x);
            sum += std::exp(-0.5 * y * y / (sg.y * sg.y)) * vertical.At(sg.z) /
                   (2.0 * std::numbers::pi * sg.y * sg.z);
        }
    }
    return 1e6 * s.emission_rate * sum * du * dv / met.us;
}

}  // namespace quorvel
