#include "calc/project/field/screening_function.h"

namespace quorvel::project {
namespace {

std::string ClassLetter(Stability stability) {
    return std::string(1, static_cast<char>('A' + static_cast<int>(stability) - 1));
}

}  // namespace

ScreeningFunction::ScreeningFunction(const FieldSetup& setup)
    : field_(setup.sources, setup.landUse), sourceIds_(setup.sourceIds) {
    for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
        if (!setup.pollutants[k].error.empty()) continue;
        pollutants_.push_back(k);
        weights_.push_back(setup.pollutants[k].weights);
    }
}

std::vector<FieldValue> ScreeningFunction::At(const SitePoint& point,
                                              const std::vector<std::size_t>& which) const {
    std::vector<FieldWeights> weights;
    for (std::size_t k : which) weights.push_back(weights_[k]);
    const std::vector<FieldPoint> found = field_.At(point, weights);
    std::vector<FieldValue> values;
    for (std::size_t i = 0; i < which.size(); ++i) {
        const FieldPoint& f = found[i];
        FieldValue v;
        v.c = f.c;
        v.at = point;
        if (f.c > 0.0) {
            v.stabilityClass = ClassLetter(f.stability);
            v.windSpeed = f.windSpeed;
            v.windFrom = f.windFrom;
        }
        for (std::size_t e = 0; e < sourceIds_.size(); ++e) {
            if (weights[i][e] != 0.0) v.shares.push_back({sourceIds_[e], f.contributions[e]});
        }
        values.push_back(std::move(v));
    }
    return values;
}

double ScreeningFunction::Bound(const SitePoint& point, std::size_t which) const {
    return field_.Bound(point, weights_[which]);
}

}  // namespace quorvel::project
