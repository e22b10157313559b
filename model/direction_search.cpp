#include "model/direction_search.h"

#include <algorithm>
#include <cmath>

#include "model/brent_maximum.h"

namespace quorvel {
namespace {

// The coarse scan's step (degrees): six steps over the quadrant.
constexpr double kScanStep = 15.0;
// Refinement stops at this width of the bracket around the peak (degrees).
constexpr double kAngleTolerance = 0.25;

}  // namespace

DirectionSearch::DirectionSearch(const AreaConcentration& model, double distance,
                                 double angle_span_deg)
    : model_(model), distance_(distance), span_(angle_span_deg) {
    points_ = std::clamp(static_cast<int>(std::ceil(span_ / kScanStep - 1e-9)) + 1, 2, kMaxPoints);
    step_ = span_ / (points_ - 1);
    for (int i = 0; i < points_; ++i) {
        values_[static_cast<std::size_t>(i)] = At(i * step_);
        if (values_[static_cast<std::size_t>(i)] > ScanTop()) top_point_ = i;
    }
}

DirectionSearch::Result DirectionSearch::Refine(double to_beat) const {
    Result found{ScanTop(), top_point_ * step_, ScanTop()};
    const double top = ScanTop();
    for (int i = 0; i < points_; ++i) {
        const double v = values_[static_cast<std::size_t>(i)];
        const bool left_ok = i == 0 || v >= values_[static_cast<std::size_t>(i - 1)];
        const bool right_ok = i + 1 == points_ || v >= values_[static_cast<std::size_t>(i + 1)];
        if (!left_ok || !right_ok) continue;
        if (v < kRefineShare * std::max(top, to_beat)) {
            found.upper_bound = std::max(found.upper_bound, v / kRefineShare);
            continue;
        }
        found.upper_bound = std::max(found.upper_bound, RefinePeak(i, found));
    }
    found.upper_bound = std::max(found.upper_bound, found.concentration);
    return found;
}

// Refines the local maximum at scan point `point`, updating `found`, and
// returns the largest value seen there.
double DirectionSearch::RefinePeak(int point, Result& found) const {
    const double v = values_[static_cast<std::size_t>(point)];
    PointValue start{point * step_, v};
    // At the ends of the span the curve is symmetric about the end (a mirrored
    // rectangle looks alike), so a peak there usually sits on the end itself:
    // one look just inside tells.
    if (point == 0 || point + 1 == points_) {
        const double inside = point == 0 ? kAngleTolerance : span_ - kAngleTolerance;
        const double inside_value = At(inside);
        if (inside_value <= v) return v;
        start = {inside, inside_value};
    }
    const double lo = std::max(0.0, (point - 1) * step_);
    const double hi = std::min(span_, (point + 1) * step_);
    const PointValue peak =
        BrentMaximum([&](double angle) { return At(angle); }, lo, hi, start, kAngleTolerance);
    if (peak.value > found.concentration) {
        found.concentration = peak.value;
        found.angle_deg = peak.at;
    }
    return std::max(peak.value, v);
}

}  // namespace quorvel
