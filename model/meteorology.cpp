#include "model/meteorology.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvel {
namespace {

int Index(Stability stability) { return static_cast<int>(stability) - 1; }

// Wind profile exponents for classes A to F.
constexpr std::array<double, 6> kRuralExponent{0.07, 0.07, 0.10, 0.15, 0.35, 0.55};
constexpr std::array<double, 6> kUrbanExponent{0.15, 0.15, 0.20, 0.25, 0.30, 0.30};

}  // namespace

const std::vector<double>& FullSetWindSpeeds(Stability stability) {
    static const std::array<std::vector<double>, 6> kSpeeds{{
        {1, 1.5, 2, 2.5, 3},
        {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5},
        {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 8, 10},
        {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 8, 10, 15, 20},
        {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5},
        {1, 1.5, 2, 2.5, 3, 3.5, 4},
    }};
    return kSpeeds[static_cast<std::size_t>(Index(stability))];
}

MetCondition MakeMetCondition(Stability stability, double u10, double release_height,
                              LandUse land_use) {
    const auto i = static_cast<std::size_t>(Index(stability));
    const double p = land_use == LandUse::Rural ? kRuralExponent[i] : kUrbanExponent[i];
    MetCondition met;
    met.stability = stability;
    met.u10 = u10;
    met.us = u10 * std::pow(std::max(release_height, 10.0) / 10.0, p);
    met.has_lid = stability <= Stability::D;
    met.mixing_height =
        met.has_lid ? std::max(320.0 * u10, release_height + 1.0) : kUnlimitedMixingHeight;
    return met;
}

std::vector<MetCondition> ExpandMetChoice(const MetChoice& choice, double release_height,
                                          LandUse land_use) {
    std::vector<MetCondition> conditions;
    auto add_class = [&](Stability stability) {
        for (double u10 : FullSetWindSpeeds(stability)) {
            conditions.push_back(MakeMetCondition(stability, u10, release_height, land_use));
        }
    };
    switch (choice.kind) {
        case MetChoice::Kind::Full:
            for (int c = 1; c <= 6; ++c) add_class(static_cast<Stability>(c));
            break;
        case MetChoice::Kind::SingleClass:
            add_class(choice.stability);
            break;
        case MetChoice::Kind::SingleClassAndSpeed:
            conditions.push_back(
                MakeMetCondition(choice.stability, choice.u10, release_height, land_use));
            break;
    }
    return conditions;
}

}  // namespace quorvel
