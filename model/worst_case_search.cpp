#include "model/worst_case_search.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "model/direction_search.h"
#include "model/rectangle_in_wind.h"

namespace quorvel {
namespace {

// At a higher wind speed of the same class the concentration scales with
// 1 / u_s, while a higher mixing lid (320 u10) only takes image terms away.
// So a faster wind cannot exceed the slowest one's maximum times the speed
// ratio; the margin covers the search falling short and the step where the
// plume is taken as evenly mixed.
constexpr double kSpeedBoundMargin = 1.05;

// Computed values may exceed the exact integral by its tolerance; a bound
// on the exact value is widened by this share before it rules anything out.
constexpr double kBoundSlack = 1e-3;

// Whether a condition bounded by `bound` cannot reach `value` (ug/m^3).
bool CannotReach(double bound, double value) { return bound * (1.0 + kBoundSlack) < value; }

// Indices of `values`, the largest value first; equal values keep their order.
std::vector<std::size_t> LargestFirst(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t l, std::size_t r) { return values[l] > values[r]; });
    return order;
}

// Keeps the largest concentration; of equal ones, the first in the order of
// the conditions (classes in turn, speeds ascending), whatever order they are
// tried in.
class Largest {
  public:
    void Consider(const WorstCase& candidate, std::size_t rank) {
        if (!have_ || candidate.concentration > best_.concentration ||
            (candidate.concentration == best_.concentration && rank < rank_)) {
            best_ = candidate;
            rank_ = rank;
            have_ = true;
        }
    }
    double Concentration() const { return have_ ? best_.concentration : 0.0; }
    const WorstCase& Best() const { return best_; }

  private:
    WorstCase best_;
    std::size_t rank_ = 0;
    bool have_ = false;
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
    std::vector<const AreaConcentration*> earlier;
    for (ClassGroup& group : groups_) {
        std::stable_sort(
            group.conditions.begin(), group.conditions.end(),
            [](const MetCondition& l, const MetCondition& r) { return l.u10 < r.u10; });
        for (const MetCondition& met : group.conditions) group.models.emplace_back(source_, met);
    }
    for (ClassGroup& group : groups_) {
        for (const AreaConcentration& model : group.models) {
            group.repeats.push_back(std::any_of(earlier.begin(), earlier.end(),
                                                [&](const auto* e) { return *e == model; }));
            earlier.push_back(&model);
        }
    }
}

bool WorstCaseSearch::SpeedCannotWin(const ClassGroup& group, std::size_t member,
                                     double slowest_bound, double best) const {
    const MetCondition& slowest = group.conditions.front();
    const MetCondition& met = group.conditions[member];
    // The bound needs a lid at least as high as the slowest wind's, above the
    // release and the receptor.
    if (slowest.has_lid) {
        if (met.mixing_height < slowest.mixing_height) return false;
        if (source_.release_height + source_.receptor_height >= 2.0 * slowest.mixing_height)
            return false;
    }
    const double bound = slowest.us / met.us * kSpeedBoundMargin * slowest_bound;
    return bound < best;
}

WorstCase WorstCaseSearch::At(double distance) const {
    return direction_.search ? SearchedDirections(distance) : AtGivenDirection(distance);
}

WorstCase WorstCaseSearch::AtGivenDirection(double distance) const {
    Largest largest;
    std::size_t rank = 0;
    for (const ClassGroup& group : groups_) {
        double slowest = 0.0;
        for (std::size_t m = 0; m < group.conditions.size(); ++m, ++rank) {
            if (m > 0 && SpeedCannotWin(group, m, slowest, largest.Concentration())) continue;
            WorstCase here{group.models[m].At(distance, folded_angle_), group.conditions[m],
                           folded_angle_};
            if (m == 0) slowest = here.concentration;
            largest.Consider(here, rank);
        }
    }
    return largest.Best();
}

WorstCase WorstCaseSearch::SearchedDirections(double distance) const {
    // The slowest wind of every class first: a cheap bound on what it can
    // give, a coarse scan of the classes whose bound no scanned value exceeds
    // yet, then refinement, the most promising class first. Once a high value
    // is known, classes and faster winds that cannot reach it need no search.
    const std::size_t n = groups_.size();
    std::vector<double> bound(n);
    for (std::size_t g = 0; g < n; ++g) {
        bound[g] = groups_[g].models.front().UpperBound(distance);
    }
    std::vector<std::optional<DirectionSearch>> scan(n);
    double scanned_top = 0.0;
    for (std::size_t g : LargestFirst(bound)) {
        if (groups_[g].repeats.front() || CannotReach(bound[g], scanned_top)) continue;
        scan[g].emplace(groups_[g].models.front(), distance, angle_span_);
        scanned_top = std::max(scanned_top, scan[g]->ScanTop());
    }
    std::vector<double> promise(n, -1.0);
    for (std::size_t g = 0; g < n; ++g) {
        if (scan[g]) promise[g] = scan[g]->ScanTop();
    }
    std::vector<std::size_t> first_rank(n, 0);
    for (std::size_t g = 1; g < n; ++g) {
        first_rank[g] = first_rank[g - 1] + groups_[g - 1].conditions.size();
    }

    Largest largest;
    for (std::size_t g : LargestFirst(promise)) {
        const ClassGroup& group = groups_[g];
        double slowest_bound = bound[g];
        if (scan[g]) {
            const DirectionSearch::Result slowest = scan[g]->Refine(largest.Concentration());
            largest.Consider({slowest.concentration, group.conditions.front(), slowest.angle_deg},
                             first_rank[g]);
            slowest_bound = slowest.upper_bound;
        }
        for (std::size_t m = 1; m < group.conditions.size(); ++m) {
            const AreaConcentration& model = group.models[m];
            if (group.repeats[m] ||
                SpeedCannotWin(group, m, slowest_bound, largest.Concentration()) ||
                CannotReach(model.UpperBound(distance), largest.Concentration())) {
                continue;
            }
            const DirectionSearch::Result here =
                DirectionSearch(model, distance, angle_span_).Refine(largest.Concentration());
            largest.Consider({here.concentration, group.conditions[m], here.angle_deg},
                             first_rank[g] + m);
        }
    }
    return largest.Best();
}

}  // namespace quorvel
