#pragma once

#include <string>
#include <vector>

#include "model/area_source.h"
#include "model/meteorology.h"
#include "model/worst_case_search.h"

namespace quorvel {

// Everything one model run was asked for.
struct ModelAnswers {
    std::string title;
    AreaSource source;
    DirectionChoice direction;
    MetChoice met;
    bool automated = false;
    double automated_minimum = 0.0;  // m; 0 means 1 m
    double automated_maximum = 0.0;  // m
    bool discrete = false;
    std::vector<double> discrete_distances;  // m, in the order given
    bool hardcopy = false;
};

// Limits that keep every value of the report inside its columns.
inline constexpr std::size_t kMaxTitleLength = 79;
inline constexpr double kMaxEmissionRate = 1e6;   // g/(s m^2)
inline constexpr double kMaxHeight = 9999.0;      // m, release and receptor
inline constexpr double kMaxSide = 100000.0;      // m
inline constexpr double kMaxDistance = 100000.0;  // m
inline constexpr double kMaxWindSpeed = 100.0;    // m/s
inline constexpr std::size_t kMaxDiscreteDistances = 100000;

}  // namespace quorvel
