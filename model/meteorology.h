#pragma once

#include <vector>

namespace quorvel {

// Pasquill stability classes A (very unstable) to F (stable), numbered 1 to 6.
enum class Stability : int { A = 1, B, C, D, E, F };

enum class LandUse { Rural, Urban };

// One hour of weather as the model sees it.
struct MetCondition {
    Stability stability = Stability::D;
    double u10 = 1.0;            // wind speed at 10 m, m/s
    double us = 1.0;             // wind speed at release height, m/s
    double mixing_height = 0.0;  // m; only meaningful when has_lid
    bool has_lid = false;        // classes A to D are capped by a mixing lid
};

// Height shown for the mixing layer of the stable classes, which have no lid.
inline constexpr double kUnlimitedMixingHeight = 10000.0;

// The 10-m wind speeds of the full set for one class, ascending.
const std::vector<double>& FullSetWindSpeeds(Stability stability);

// Weather for one class and 10-m wind speed over a release at release_height.
MetCondition MakeMetCondition(Stability stability, double u10, double release_height,
                              LandUse land_use);

// Which weather the answers ask for.
struct MetChoice {
    enum class Kind { Full = 1, SingleClass = 2, SingleClassAndSpeed = 3 };
    Kind kind = Kind::Full;
    Stability stability = Stability::D;  // for SingleClass and SingleClassAndSpeed
    double u10 = 1.0;                    // for SingleClassAndSpeed
};

// Every weather condition of the choice, grouped by class; speeds ascend within a class.
std::vector<MetCondition> ExpandMetChoice(const MetChoice& choice, double release_height,
                                          LandUse land_use);

}  // namespace quorvel
