#include "model/worst_case_search.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/rectangle_in_wind.h"

namespace quorvel {
namespace {

// The coarse direction scan: this many steps over the quadrant.
constexpr int kCoarseSteps = 6;
constexpr int kCoarsePoints = kCoarseSteps + 1;
// Local maxima of the coarse scan below this share of the best are not refined:
// between two scan points a peak does not rise that far above both.
constexpr double kRefineShare = 0.8;
// Golden-section refinement stops at this width of the bracket (degrees).
constexpr double kAngleTolerance = 0.5;

// At a higher wind speed of the same class the concentration scales with
// 1 / u_s, while a higher mixing lid (320 u10) only takes image terms away.
// So a faster wind cannot exceed the slowest one's maximum times the speed
// ratio; the margin covers the search falling short and the step where the
// plume is taken as evenly mixed.
constexpr double kSpeedBoundMargin = 1.05;

struct Candidate {
    std::size_t group;
    int point;
    double value;
};

}  // namespace

WorstCaseSearch::WorstCaseSearch(const AreaSource& source,
                                 const std::vector<MetCondition>& conditions,
                                 DirectionChoice direction)
    : source_(source),
      direction_(direction),
      angle_span_(source.larger_side == source.smaller_side ? 45.0 : 90.0),
      folded_angle_(RectangleInWind::FoldAngle(direction.angle_deg)) {
    for (const MetCondition& met : conditions) {
        auto it = std::find_if(groups_.begin(), groups_.end(), [&](const ClassGroup& g) {
            return g.conditions.front().stability == met.stability;
        });
        if (it == groups_.end()) {
            groups_.emplace_back();
            it = groups_.end() - 1;
        }
        it->conditions.push_back(met);
    }
    for (ClassGroup& group : groups_) {
        std::stable_sort(
            group.conditions.begin(), group.conditions.end(),
            [](const MetCondition& l, const MetCondition& r) { return l.u10 < r.u10; });
        for (const MetCondition& met : group.conditions) group.models.emplace_back(source_, met);
    }
}

bool WorstCaseSearch::SpeedCannotWin(const ClassGroup& group, std::size_t member,
                                     double lowest_speed_max, double best) const {
    const MetCondition& slowest = group.conditions.front();
    const MetCondition& met = group.conditions[member];
    // The bound needs a lid at least as high as the slowest wind's, above the
    // release and the receptor.
    if (slowest.has_lid) {
        if (met.mixing_height < slowest.mixing_height) return false;
        if (source_.release_height + source_.receptor_height >= 2.0 * slowest.mixing_height)
            return false;
    }
    const double bound = slowest.us / met.us * kSpeedBoundMargin * lowest_speed_max;
    return bound < best;
}

WorstCase WorstCaseSearch::SearchDirections(const ClassGroup& group, std::size_t member,
                                            double distance) const {
    const AreaConcentration& model = group.models[member];
    WorstCase found;
    found.met = group.conditions[member];
    std::array<double, kCoarsePoints> values{};
    const double step = angle_span_ / kCoarseSteps;
    for (int i = 0; i < kCoarsePoints; ++i) {
        values[static_cast<std::size_t>(i)] = model.At(distance, i * step);
    }
    const auto best_point = std::max_element(values.begin(), values.end());
    found.concentration = *best_point;
    found.angle_deg = static_cast<double>(best_point - values.begin()) * step;
    for (int i = 0; i < kCoarsePoints; ++i) {
        const double v = values[static_cast<std::size_t>(i)];
        const bool left_ok = i == 0 || v >= values[static_cast<std::size_t>(i - 1)];
        const bool right_ok = i == kCoarseSteps || v >= values[static_cast<std::size_t>(i + 1)];
        if (!left_ok || !right_ok || v < kRefineShare * found.concentration) continue;
        double lo = std::max(0.0, (i - 1) * step);
        double hi = std::min(angle_span_, (i + 1) * step);
        const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
        double a = hi - golden * (hi - lo);
        double b = lo + golden * (hi - lo);
        double fa = model.At(distance, a);
        double fb = model.At(distance, b);
        while (hi - lo > kAngleTolerance) {
            if (fa < fb) {
                lo = a;
                a = b;
                fa = fb;
                b = lo + golden * (hi - lo);
                fb = model.At(distance, b);
            } else {
                hi = b;
                b = a;
                fb = fa;
                a = hi - golden * (hi - lo);
                fa = model.At(distance, a);
            }
        }
        const double top = std::max(fa, fb);
        if (top > found.concentration) {
            found.concentration = top;
            found.angle_deg = fa >= fb ? a : b;
        }
    }
    return found;
}

WorstCase WorstCaseSearch::At(double distance) const {
    WorstCase best;
    bool have_best = false;
    auto consider = [&](const WorstCase& candidate) {
        if (!have_best || candidate.concentration > best.concentration) {
            best = candidate;
            have_best = true;
        }
    };
    for (const ClassGroup& group : groups_) {
        WorstCase slowest;
        for (std::size_t m = 0; m < group.conditions.size(); ++m) {
            if (m > 0 && SpeedCannotWin(group, m, slowest.concentration, best.concentration)) {
                continue;
            }
            WorstCase here;
            if (direction_.search) {
                here = SearchDirections(group, m, distance);
            } else {
                here.met = group.conditions[m];
                here.angle_deg = folded_angle_;
                here.concentration = group.models[m].At(distance, folded_angle_);
            }
            if (m == 0) slowest = here;
            consider(here);
        }
    }
    return best;
}

}  // namespace quorvel
