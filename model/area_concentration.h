#pragma once

#include "model/area_source.h"
#include "model/dispersion_coefficients.h"
#include "model/meteorology.h"
#include "model/vertical_term.h"

namespace quorvel {

// Ground-level (or flagpole) concentration downwind of an area source for one
// weather condition: the Gaussian plume integrated over the rectangle.
class AreaConcentration {
  public:
    AreaConcentration(const AreaSource& source, const MetCondition& met);

    // Concentration (ug/m^3) at a receptor `distance` m directly downwind of the
    // centre, with the wind at angle_deg (0 to 90) to the larger side.
    double At(double distance, double angle_deg) const;

    // Concentration (ug/m^3) at a receptor anywhere: `downwind` m along the
    // wind from the centre (negative upwind) and `crosswind` m across it, to
    // the left looking downwind, with the larger side turned angle_deg (any
    // real, counter-clockwise) from the downwind direction. The integral is
    // carried to relative_tolerance (1e-6 to 1e-2), or to absolute_tolerance
    // (ug/m^3, 0 or more) where that is looser. On the centre's wind line
    // (crosswind 0) it is At(downwind, angle_deg) for angles of 0 to 90, bit
    // for bit, at the default tolerances.
    double AtReceptor(double downwind, double crosswind, double angle_deg,
                      double relative_tolerance = kRelativeTolerance,
                      double absolute_tolerance = 0.0) const;

    // A quick estimate of AtReceptor (same arguments) for receptors away from
    // the area: the integral along the wind by three points. Within about 10 %
    // beyond three half diagonals; for choosing among wind directions, not
    // for results.
    double Estimate(double downwind, double crosswind, double angle_deg) const;

    // No wind angle gives more than this (ug/m^3) at a receptor `distance` m
    // downwind of the centre; cheap to find. Close to the largest value far
    // from the area, loose near it.
    double UpperBound(double distance) const;

    // Equal when the concentrations are equal everywhere: the same source,
    // spread curves, vertical term and wind at release height.
    friend bool operator==(const AreaConcentration&, const AreaConcentration&) = default;

    // Relative accuracy the integral is carried to.
    static constexpr double kRelativeTolerance = 2e-4;

  private:
    // The rectangle turned clockwise by folded_deg (0 to 90) from the wind,
    // the receptor `crosswind` m to the left of the centre's wind line.
    double Integrate(double distance, double crosswind, double folded_deg,
                     double relative_tolerance, double absolute_tolerance) const;

    AreaSource source_;
    DispersionCoefficients spread_;
    VerticalTerm vertical_;
    double factor_;  // 1e6 q / (sqrt(2 pi) u_s)
};

}  // namespace quorvel
