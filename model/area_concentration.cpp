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
// erf(x) of a double x at or above this is 1.0 exactly: 1 - erf(6) is 2e-17,
// less than half the spacing of doubles below 1.
constexpr double kErfIsOne = 6.0;
// Slabs of the area across the wind that its upper bound is made of.
constexpr int kBoundSlabs = 16;

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

    // Cut that reach into slabs across the wind. Within a slab the spreads
    // are at least those at its near end and V, whose every term grows with
    // sigma_z, at most that at its far end. A plume puts at most
    // w / (sqrt(2 pi) sigma_y) of itself, and at most all of itself, on a
    // crosswind chord of width w; no chord is longer than the diagonal, and
    // the chords of all slabs add up to the area. So the bound is the area
    // given out to the slabs that yield most per square metre, each up to
    // what it can take.
    struct Slab {
        double yield = 0.0;     // per square metre of area
        double capacity = 0.0;  // m^2
    };
    std::array<Slab, kBoundSlabs> slabs{};
    const double root_2pi = std::sqrt(2.0 * std::numbers::pi);
    const double step = std::log(x_high / x_low) / kBoundSlabs;
    double x_near = x_low;
    Sigmas near = spread_.At(x_near);
    for (Slab& slab : slabs) {
        const double x_far = &slab == &slabs.back() ? x_high : x_near * std::exp(step);
        const Sigmas far = spread_.At(x_far);
        const double v = vertical_.At((1.0 + kJoinSlack) * far.z);
        slab.yield = v / ((1.0 - kJoinSlack) * near.z * root_2pi * near.y);
        slab.capacity = (x_far - x_near) * std::min(2.0 * reach, root_2pi * near.y);
        x_near = x_far;
        near = far;
    }
    std::sort(slabs.begin(), slabs.end(),
              [](const Slab& l, const Slab& r) { return l.yield > r.yield; });
    double area_left = source_.larger_side * source_.smaller_side;
    double sum = 0.0;
    for (const Slab& slab : slabs) {
        const double taken = std::min(slab.capacity, area_left);
        sum += slab.yield * taken;
        area_left -= taken;
        if (!(area_left > 0.0)) break;
    }
    return factor_ * sum;
}

double AreaConcentration::At(double distance, double angle_deg) const {
    return Integrate(distance, 0.0, angle_deg, kRelativeTolerance, 0.0);
}

double AreaConcentration::AtReceptor(double downwind, double crosswind, double angle_deg,
                                     double relative_tolerance, double absolute_tolerance) const {
    // A rectangle looks alike turned by 180 degrees. Of the half turn, the
    // part from 90 to 180 degrees counter-clockwise is 0 to 90 clockwise; the
    // rest is its mirror image across the wind line, which mirrors the
    // receptor too.
    double turn = std::fmod(angle_deg, 180.0);
    if (turn < 0.0) turn += 180.0;
    const double absolute = absolute_tolerance / factor_;
    if (turn >= 90.0)
        return Integrate(downwind, crosswind, 180.0 - turn, relative_tolerance, absolute);
    return Integrate(downwind, -crosswind, turn, relative_tolerance, absolute);
}

double AreaConcentration::Estimate(double downwind, double crosswind, double angle_deg) const {
    double turn = std::fmod(angle_deg, 180.0);
    if (turn < 0.0) turn += 180.0;
    const bool mirrored = turn < 90.0;
    const RectangleInWind rect(source_.larger_side, source_.smaller_side,
                               mirrored ? turn : 180.0 - turn);
    const double offset = mirrored ? -crosswind : crosswind;
    // Three-point Gauss-Legendre along the wind over the rectangle's extent.
    static constexpr std::array<double, 3> kNodes{-0.7745966692414834, 0.0, 0.7745966692414834};
    static constexpr std::array<double, 3> kWeights{5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
    const double extent = rect.AlongWindHalfExtent();
    double sum = 0.0;
    for (std::size_t i = 0; i < kNodes.size(); ++i) {
        const double along = kNodes[i] * extent;
        const double x = downwind - along;
        if (x < kNearestUpwind) continue;
        const RectangleInWind::Span chord = rect.CrosswindChord(along);
        if (chord.empty) continue;
        const Sigmas s = spread_.At(x);
        const double root = std::numbers::sqrt2 * s.y;
        sum += kWeights[i] * vertical_.At(s.z) / s.z * 0.5 *
               (std::erf((chord.high - offset) / root) - std::erf((chord.low - offset) / root));
    }
    return factor_ * extent * sum;
}

double AreaConcentration::Integrate(double distance, double crosswind, double folded_deg,
                                    double relative_tolerance, double absolute_tolerance) const {
    const RectangleInWind rect(source_.larger_side, source_.smaller_side, folded_deg);
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
        if (crosswind == 0.0) {
            const double centreline = rect.CentrelineHalfLength();
            add(distance - centreline);
            add(distance + centreline);
        } else if (const RectangleInWind::Span line = rect.WindLineSpan(crosswind); !line.empty) {
            add(distance - line.high);
            add(distance - line.low);
        }
    }
    for (double join : spread_.Joins()) add(join);
    std::sort(breaks.begin(), breaks.begin() + count);

    const double sqrt2 = std::numbers::sqrt2;
    auto integrand = [&](double t) {
        const double x = std::exp(t);
        const RectangleInWind::Span chord = rect.CrosswindChord(distance - x);
        if (chord.empty) return 0.0;
        const Sigmas s = spread_.At(x, t);
        const double high = (chord.high - crosswind) / (sqrt2 * s.y);
        const double low = (chord.low - crosswind) / (sqrt2 * s.y);
        // The chord lies wholly in one tail of the plume, where erf is +-1 to
        // the last bit: the difference would be exactly 0.
        if (low >= kErfIsOne || high <= -kErfIsOne) return 0.0;
        const double lateral = 0.5 * (std::erf(high) - std::erf(low));
        return x * vertical_.At(s.z) / s.z * lateral;
    };
    const double integral = GaussKronrod::Integrate(
        integrand, breaks.data(), count, relative_tolerance, kWidestPiece, absolute_tolerance);
    return factor_ * integral;
}

}  // namespace quorvel
