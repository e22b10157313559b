#include "model/rectangle_in_wind.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorvel {
namespace {

// Below this a sine or cosine is taken as exactly zero, so that a side parallel
// to the wind is not divided by a rounding residue.
constexpr double kParallel = 1e-12;

// Narrows `span` to the t with |c - m t| <= half (m >= 0: no constraint on t
// when m is 0, only on c). False when nothing is left.
bool Narrow(double c, double m, double half, RectangleInWind::Span& span) {
    if (m > 0.0) {
        span.low = std::max(span.low, (c - half) / m);
        span.high = std::min(span.high, (c + half) / m);
    } else if (std::abs(c) > half) {
        return false;
    }
    return span.low < span.high;
}

}  // namespace

RectangleInWind::RectangleInWind(double larger_side, double smaller_side, double angle_deg)
    : a_(0.5 * larger_side), b_(0.5 * smaller_side) {
    const double angle = std::clamp(angle_deg, 0.0, 90.0) * std::numbers::pi / 180.0;
    cos_ = std::cos(angle);
    sin_ = std::sin(angle);
    if (cos_ < kParallel) cos_ = 0.0;
    if (sin_ < kParallel) sin_ = 0.0;
}

double RectangleInWind::FoldAngle(double angle_deg) {
    double folded = std::fmod(std::abs(angle_deg), 180.0);
    if (folded > 90.0) folded = 180.0 - folded;
    return folded;
}

RectangleInWind::Span RectangleInWind::CrosswindChord(double s) const {
    // A point (s, y) lies at (s cos - y sin, s sin + y cos) along the sides.
    Span chord{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), false};
    if (!Narrow(s * cos_, sin_, a_, chord) || !Narrow(-s * sin_, cos_, b_, chord)) return {};
    return chord;
}

std::array<double, 4> RectangleInWind::CornerPositions() const {
    return {a_ * cos_ + b_ * sin_, a_ * cos_ - b_ * sin_, -a_ * cos_ + b_ * sin_,
            -a_ * cos_ - b_ * sin_};
}

double RectangleInWind::CentrelineHalfLength() const {
    double half = std::numeric_limits<double>::max();
    if (cos_ > 0.0) half = std::min(half, a_ / cos_);
    if (sin_ > 0.0) half = std::min(half, b_ / sin_);
    return half;
}

RectangleInWind::Span RectangleInWind::WindLineSpan(double y) const {
    Span line{-std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), false};
    if (!Narrow(y * sin_, cos_, a_, line) || !Narrow(-y * cos_, sin_, b_, line)) return {};
    return line;
}

double RectangleInWind::AlongWindHalfExtent() const { return a_ * cos_ + b_ * sin_; }

}  // namespace quorvel
