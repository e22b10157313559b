#include "calc/project/field/tests/plain_reference.h"

#include <cmath>
#include <numbers>

#include "model/area_concentration.h"

namespace quorvel::project {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

double Sum(const FieldSetup& setup, const std::vector<AreaConcentration>& models,
           const std::vector<double>& weights, const SitePoint& p, double toward_deg) {
    double sum = 0.0;
    const double toward = toward_deg * kDegree;
    for (std::size_t e = 0; e < models.size(); ++e) {
        if (weights[e] == 0.0) continue;
        const FieldSource& s = setup.sources[e];
        const double dx = p.x - s.centre.x;
        const double dy = p.y - s.centre.y;
        sum += weights[e] * models[e].AtReceptor(dx * std::cos(toward) + dy * std::sin(toward),
                                                 -dx * std::sin(toward) + dy * std::cos(toward),
                                                 s.larger_angle - toward_deg);
    }
    return sum;
}

}  // namespace

PlainValue PlainField(const FieldSetup& setup, std::size_t pollutant, const SitePoint& point,
                      const std::vector<std::pair<Stability, double>>& only) {
    std::vector<std::pair<Stability, double>> conditions = only;
    if (conditions.empty()) {
        for (int c = 1; c <= 6; ++c) {
            const auto stability = static_cast<Stability>(c);
            for (double u : FullSetWindSpeeds(stability)) conditions.push_back({stability, u});
        }
    }
    const std::vector<double>& weights = setup.pollutants[pollutant].weights;
    PlainValue best;
    for (const auto& [stability, u10] : conditions) {
        std::vector<AreaConcentration> models;
        for (const FieldSource& s : setup.sources) {
            models.emplace_back(
                s.area, MakeMetCondition(stability, u10, s.area.release_height, setup.landUse));
        }
        double top = -1.0;
        double at = 0.0;
        for (int i = 0; i < 3600; ++i) {
            const double v = Sum(setup, models, weights, point, 0.1 * i);
            if (v > top) {
                top = v;
                at = 0.1 * i;
            }
        }
        // Golden sections within a step each side of the best direction.
        double lo = at - 0.1;
        double hi = at + 0.1;
        const double g = 0.5 * (std::sqrt(5.0) - 1.0);
        for (int i = 0; i < 30; ++i) {
            const double a = hi - g * (hi - lo);
            const double b = lo + g * (hi - lo);
            if (Sum(setup, models, weights, point, a) >= Sum(setup, models, weights, point, b))
                hi = b;
            else
                lo = a;
        }
        const double refined = Sum(setup, models, weights, point, 0.5 * (lo + hi));
        if (refined > top) {
            top = refined;
            at = 0.5 * (lo + hi);
        }
        if (top > best.c) best = {top, stability, u10, at};
    }
    return best;
}

}  // namespace quorvel::project
