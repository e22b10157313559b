#pragma once

// The public method's reference results kept in tests/data, and the sources
// they describe.
#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "model/area_source.h"

namespace quorvel::testing {

using Json = nlohmann::json;

// Reads one file of tests/data, e.g. "near-field.json".
inline Json LoadReference(const std::string& name) {
    std::ifstream in(std::string(QUORVEL_MODEL_TEST_DATA) + "/" + name);
    return Json::parse(in);
}

// A reference case's source: H the release height (m), W and L the sides
// (m), rate the emission (g/s) over the whole area, loc 0 rural, 1 urban.
inline AreaSource SourceOf(const Json& c) {
    const double w = c["W"].get<double>();
    const double l = c["L"].get<double>();
    AreaSource s;
    s.emission_rate = c["rate"].get<double>() / (w * l);
    s.release_height = c["H"].get<double>();
    s.larger_side = std::max(w, l);
    s.smaller_side = std::min(w, l);
    s.land_use = c["loc"].get<int>() == 0 ? LandUse::Rural : LandUse::Urban;
    return s;
}

}  // namespace quorvel::testing
