#include "calc/project/field/field_source.h"

#include <algorithm>

namespace quorvel::project {

MetCondition LowestWind(Stability stability, double release_height, LandUse land_use) {
    return MakeMetCondition(stability, FullSetWindSpeeds(stability).front(), release_height,
                            land_use);
}

std::vector<Stability> FieldClasses(const std::vector<FieldSource>& sources, LandUse land_use) {
    std::vector<Stability> classes;
    std::vector<std::vector<AreaConcentration>> models;
    for (int c = 1; c <= 6; ++c) {
        const auto stability = static_cast<Stability>(c);
        std::vector<AreaConcentration> these;
        for (const FieldSource& source : sources) {
            these.emplace_back(source.area,
                               LowestWind(stability, source.area.release_height, land_use));
        }
        if (std::find(models.begin(), models.end(), these) != models.end()) continue;
        models.push_back(std::move(these));
        classes.push_back(stability);
    }
    return classes;
}

}  // namespace quorvel::project
