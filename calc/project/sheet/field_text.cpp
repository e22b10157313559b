#include "calc/project/sheet/field_text.h"

#include <algorithm>
#include <cmath>

#include "calc/sheet/markup.h"

namespace quorvel::project {

std::string RoundedUpMetres(double distance) {
    if (!std::isfinite(distance)) return "—";
    const double tenths = std::round(std::max(distance, 0.0) * 10) / 10;
    return NumberText(std::ceil(tenths)) + " m";
}

std::string LevelText(double ratio) { return FixedText(ratio, 1) + " S"; }

const PollutantFieldResult* FieldPollutantOf(const FieldResult& field,
                                             const std::string& pollutant) {
    const auto found =
        std::find_if(field.pollutants.begin(), field.pollutants.end(),
                     [&](const PollutantFieldResult& p) { return p.pollutant == pollutant; });
    return found == field.pollutants.end() ? nullptr : &*found;
}

const ReceptorFieldResult* FieldReceptorOf(const FieldResult& field, std::size_t index,
                                           const std::string& name) {
    const std::vector<ReceptorFieldResult>& all = field.receptors;
    if (index < all.size() && all[index].name == name) return &all[index];
    const auto found = std::find_if(all.begin(), all.end(),
                                    [&](const ReceptorFieldResult& r) { return r.name == name; });
    return found == all.end() ? nullptr : &*found;
}

const ReceptorPollutant* ReceptorPollutantOf(const ReceptorFieldResult& receptor,
                                             const std::string& pollutant) {
    const auto found =
        std::find_if(receptor.pollutants.begin(), receptor.pollutants.end(),
                     [&](const ReceptorPollutant& p) { return p.pollutant == pollutant; });
    return found == receptor.pollutants.end() ? nullptr : &*found;
}

}  // namespace quorvel::project
