#pragma once

#include "model/meteorology.h"

namespace quorvel {

// One rectangular area source of even emission and its receptor height.
struct AreaSource {
    double emission_rate = 0.0;    // g/(s m^2)
    double release_height = 0.0;   // m
    double larger_side = 0.0;      // m
    double smaller_side = 0.0;     // m
    double receptor_height = 0.0;  // m above ground (flagpole)
    LandUse land_use = LandUse::Urban;

    friend bool operator==(const AreaSource&, const AreaSource&) = default;
};

}  // namespace quorvel
