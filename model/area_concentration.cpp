#include "model/area_concentration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/gauss_kronrod.h"
#include "model/rectangle_in_wind.h"

namespace quorvel {
namespace {

// The spread curves start at 1 m; nearer area adds nothing.
constexpr double kNearestUpwind = 1.0;
constexpr int kMaxBreaks = 32;
// The widest piece (in ln x) the integration starts from: about a factor 1.65
// in distance, narrower than the rise of the vertical term or the crosswind
// edge of a plume.
constexpr double kWidestPiece = 0.5;
// A plume whose crosswind spread is below this share of the area's along-wind
// extent is narrow against the area.
constexpr double kNarrowPlume = 0.5;

// The rural vertical spread curves' pieces meet within 0.04 %; a spread taken
// this much larger (or smaller) covers the steps at their joins.
constexpr double kJoinSlack = 1e-3;

}  // namespace

AreaConcentration::AreaConcentration(const AreaSource& source, const MetCondition& met)
    : source_(source),
      spread_(met.stability, source.land_use),
      vertical_(source.release_height, source.receptor_height, met.has_lid, met.mixing_height),
      factor_(1e6 * source.emission_rate / (std::sqrt(2.0 * std::numbers::pi) * met.us)) {}

double AreaConcentration::UpperBound(double distance) const {
    // Every wind angle puts the area within its half diagonal of the centre.
    const double reach = 0.5 * std::hypot(source_.larger_side, source_.smaller_side);
    const double x_low = std::max(kNearestUpwind, distance - reach);
    const double x_high = distance + reach;
    if (!(x_high > x_low)) return 0.0;
    // A plume puts at most w / (sqrt(2 pi) sigma_y) of itself on a crosswind
    // chord of width w, and the chords add up to the area. The spreads grow
    // with x, and so does each term of V with sigma_z: V / (sigma_y sigma_z)
    // stays below V at the farthest point over the spreads at the nearest.
    const Sigmas nearest = spread_.At(x_low);
    const double v = vertical_.At((1.0 + kJoinSlack) * spread_.At(x_high).z);
    const double area = source_.larger_side * source_.smaller_side;
    return factor_ * area / std::sqrt(2.0 * std::numbers::pi) * v /
           (nearest.y * (1.0 - kJoinSlack) * nearest.z);
}

double AreaConcentration::At(double distance, double angle_deg) const {
    const RectangleInWind rect(source_.larger_side, source_.smaller_side, angle_deg);
    const double extent = rect.AlongWindHalfExtent();
    // Upwind distance x from the receptor; the along-wind position is distance - x.
    const double x_low = std::max(kNearestUpwind, distance - extent);
    const double x_high = distance + extent;
    if (!(x_high > x_low)) return 0.0;

    // The integrand bends where x passes a corner and where a vertical spread
    // curve changes formula; it turns fastest where an edge crosses the wind
    // line through the receptor, while the plume is still narrow there
    // against the area. Integrate in log x between those points.
    std::array<double, kMaxBreaks> breaks{};
    int count = 0;
    auto add = [&](double x) {
        if (x > x_low && x < x_high && count < kMaxBreaks) {
            breaks[static_cast<std::size_t>(count++)] = std::log(x);
        }
    };
    breaks[static_cast<std::size_t>(count++)] = std::log(x_low);
    breaks[static_cast<std::size_t>(count++)] = std::log(x_high);
    for (double corner : rect.CornerPositions()) add(distance - corner);
    if (spread_.At(x_low).y < kNarrowPlume * extent) {
        const double centreline = rect.CentrelineHalfLength();
        add(distance - centreline);
        add(distance + centreline);
    }
    for (double join : spread_.Joins()) add(join);
    std::sort(breaks.begin(), breaks.begin() + count);

    const double sqrt2 = std::numbers::sqrt2;
    auto integrand = [&](double t) {
        const double x = std::exp(t);
        const RectangleInWind::Span chord = rect.CrosswindChord(distance - x);
        if (chord.empty) return 0.0;
        const Sigmas s = spread_.At(x, t);
        const double lateral =
            0.5 * (std::erf(chord.high / (sqrt2 * s.y)) - std::erf(chord.low / (sqrt2 * s.y)));
        return x * vertical_.At(s.z) / s.z * lateral;
    };
    const double integral =
        GaussKronrod::Integrate(integrand, breaks.data(), count, kRelativeTolerance, kWidestPiece);
    return factor_ * integral;
}

}  // namespace quorvel
