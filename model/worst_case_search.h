#pragma once

#include <vector>

#include "model/area_concentration.h"
#include "model/area_source.h"
#include "model/meteorology.h"

namespace quorvel {

// How the wind direction is chosen: searched for the maximum, or given.
struct DirectionChoice {
    bool search = true;
    double angle_deg = 0.0;  // used when search is false; from the larger side
};

// The largest concentration at one distance and the weather and wind angle giving it.
struct WorstCase {
    double concentration = 0.0;  // ug/m^3
    MetCondition met;
    double angle_deg = 0.0;
};

// Finds, at a receptor distance, the largest concentration over the weather
// conditions and (when searching) every wind angle from 0 to 90 degrees;
// the other quadrants repeat these by symmetry.
class WorstCaseSearch {
  public:
    WorstCaseSearch(const AreaSource& source, const std::vector<MetCondition>& conditions,
                    DirectionChoice direction);

    WorstCase At(double distance) const;

  private:
    // The conditions of one class, wind speeds ascending.
    struct ClassGroup {
        std::vector<MetCondition> conditions;
        std::vector<AreaConcentration> models;
        // Whether a condition gives what an earlier one gives everywhere (urban
        // classes A and B, E and F share their curves): it never adds a worst case.
        std::vector<bool> repeats;
    };

    bool SpeedCannotWin(const ClassGroup& group, std::size_t member, double slowest_bound,
                        double best) const;
    WorstCase AtGivenDirection(double distance) const;
    WorstCase SearchedDirections(double distance) const;

    AreaSource source_;
    DirectionChoice direction_;
    std::vector<ClassGroup> groups_;
    double angle_span_;  // 45 for a square, whose quadrant is symmetric itself
    double folded_angle_;
};

}  // namespace quorvel
