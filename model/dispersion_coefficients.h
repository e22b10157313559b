#pragma once

#include <vector>

#include "model/meteorology.h"

namespace quorvel {

// One piece of a rural vertical spread curve: sigma_z = a * x_km^b up to upper_km.
struct SigmaZSegment {
    double upper_km;
    double a;
    double b;
};

struct Sigmas {
    double y = 0.0;  // crosswind spread, m
    double z = 0.0;  // vertical spread, m
};

// The spread of a plume with downwind distance for one class and land use:
// Pasquill-Gifford curves over rural land, Briggs' curves over urban land.
class DispersionCoefficients {
  public:
    DispersionCoefficients(Stability stability, LandUse land_use);

    // Spreads at downwind distance x (m, at least 1); ln_x is log(x), passed in
    // because the integrator already has it.
    Sigmas At(double x, double ln_x) const;
    Sigmas At(double x) const;

    // Distances (m) where the vertical spread curve changes its formula, ascending.
    const std::vector<double>& Joins() const { return joins_; }

    // Equal when the spreads are equal at every distance (urban A and B, E and F).
    friend bool operator==(const DispersionCoefficients&, const DispersionCoefficients&) = default;

  private:
    Stability stability_;  // over urban land the first class of those sharing the curves
    LandUse land_use_;
    double c_ = 0.0;  // rural crosswind angle constants
    double d_ = 0.0;
    const SigmaZSegment* segments_ = nullptr;
    int segment_count_ = 0;
    std::vector<double> joins_;
};

}  // namespace quorvel
