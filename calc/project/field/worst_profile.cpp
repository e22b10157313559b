#include "calc/project/field/worst_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/worst_case_search.h"

namespace quorvel::project {
namespace {

// Distances of the profile grow by this factor from one to the next.
constexpr double kStep = 1.25;
// Beyond its reach a source's worst case falls with distance; the bound takes
// the larger end of each step and this margin over the search's own shortfall.
constexpr double kMargin = 1.02;
// The profile starts this share beyond the half diagonal.
constexpr double kStartBeyondReach = 1.05;

}  // namespace

WorstProfile::WorstProfile(const AreaSource& source, const MetCondition& met) {
    const WorstCaseSearch search(source, {met}, DirectionChoice{});
    const double reach = 0.5 * std::hypot(source.larger_side, source.smaller_side);
    for (double d = std::max(1.0, kStartBeyondReach * reach);; d *= kStep) {
        const double distance = std::min(d, kFarthest);
        distances_.push_back(distance);
        values_.push_back(search.At(distance).concentration);
        if (distance >= kFarthest) break;
    }
}

double WorstProfile::Bound(double distance) const {
    if (!(distance >= distances_.front())) return std::numeric_limits<double>::infinity();
    const auto after = std::upper_bound(distances_.begin(), distances_.end(), distance);
    const auto i = static_cast<std::size_t>(after - distances_.begin()) - 1;
    const double next = i + 1 < values_.size() ? values_[i + 1] : values_[i];
    return kMargin * std::max(values_[i], next);
}

}  // namespace quorvel::project
