#pragma once

#include <array>

#include "model/area_concentration.h"

namespace quorvel {

// The wind angle of the largest concentration of one weather condition at one
// receptor distance: a coarse scan over the angles, then refinement of the
// scan's local maxima that may still matter.
class DirectionSearch {
  public:
    // Scans angles 0 to angle_span_deg (90, or 45 for a square, whose quadrant
    // is symmetric about 45 degrees) at `distance` m.
    DirectionSearch(const AreaConcentration& model, double distance, double angle_span_deg);

    // The largest concentration (ug/m^3) of the coarse scan.
    double ScanTop() const { return values_[static_cast<std::size_t>(top_point_)]; }

    struct Result {
        double concentration = 0.0;  // ug/m^3, the largest found
        double angle_deg = 0.0;      // where it was found, 0 to angle_span_deg
        // No angle gives more than this (ug/m^3): peaks left unrefined rise at
        // most to their scan value / kRefineShare.
        double upper_bound = 0.0;
    };

    // Refines every local maximum of the scan that could exceed to_beat (ug/m^3;
    // 0 refines every one worth refining) and returns the largest value found.
    Result Refine(double to_beat) const;

    // Between two scan points a peak does not rise above this share of the
    // larger of them.
    static constexpr double kRefineShare = 0.8;

  private:
    static constexpr int kMaxPoints = 7;

    double At(double angle_deg) const { return model_.At(distance_, angle_deg); }
    double RefinePeak(int point, Result& found) const;

    const AreaConcentration& model_;
    double distance_;
    double span_;
    double step_;
    int points_;
    std::array<double, kMaxPoints> values_{};
    int top_point_ = 0;
};

}  // namespace quorvel
