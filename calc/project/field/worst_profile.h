#pragma once
// What one source can give at a distance from its centre whatever the wind
// direction: the single calculation's worst case over the rectangle's turn,
// tabulated against distance, as a cheap upper bound for the combined field.

#include <vector>

#include "model/area_concentration.h"
#include "model/area_source.h"
#include "model/meteorology.h"

namespace quorvel::project {

class WorstProfile {
  public:
    // The profile of `source` in weather `met`, from just beyond the source's
    // half diagonal to kFarthest.
    WorstProfile(const AreaSource& source, const MetCondition& met);

    // No wind direction gives more than this (ug/m^3, at the source's own
    // emission rate) at a receptor `distance` m from the centre; infinite
    // within the source's reach, where the profile does not hold.
    double Bound(double distance) const;

    // The profile ends here (m); beyond it the last value is the bound.
    static constexpr double kFarthest = 30000.0;

  private:
    std::vector<double> distances_;  // m, ascending
    std::vector<double> values_;     // ug/m^3
};

}  // namespace quorvel::project
