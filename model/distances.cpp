#include "model/distances.h"

#include <cmath>
#include <map>

namespace quorvel {
namespace {

constexpr double kNearStep = 100.0;
constexpr double kNearLimit = 3000.0;
constexpr double kFarStep = 500.0;
constexpr double kSmallestDistance = 1.0;

}  // namespace

std::vector<double> AutomatedDistances(double minimum, double maximum) {
    const double first = minimum < kSmallestDistance ? kSmallestDistance : minimum;
    std::vector<double> distances{first};
    if (maximum <= first) return distances;
    double next = (std::floor(first / kNearStep) + 1.0) * kNearStep;
    while (next <= kNearLimit && next < maximum) {
        distances.push_back(next);
        next += kNearStep;
    }
    next = (std::floor(distances.back() / kFarStep) + 1.0) * kFarStep;
    while (next < maximum) {
        distances.push_back(next);
        next += kFarStep;
    }
    distances.push_back(maximum);
    return distances;
}

PeakDistance RefinePeakToMetre(const std::function<double(double)>& value_at, PeakDistance low,
                               PeakDistance high) {
    std::map<double, double> known{{low.distance, low.value}, {high.distance, high.value}};
    auto value = [&](double d) {
        auto it = known.find(d);
        if (it != known.end()) return it->second;
        const double v = value_at(d);
        known.emplace(d, v);
        return v;
    };
    // Golden-section search over whole metres, then the last few one by one.
    double lo = std::ceil(low.distance);
    double hi = std::floor(high.distance);
    const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
    while (hi - lo > 4.0) {
        const double a = std::round(hi - golden * (hi - lo));
        const double b = std::round(lo + golden * (hi - lo));
        if (a >= b) break;
        if (value(a) < value(b)) {
            lo = a;
        } else {
            hi = b;
        }
    }
    for (double d = lo; d <= hi; d += 1.0) value(d);
    PeakDistance best = low.value >= high.value ? low : high;
    for (const auto& [d, v] : known) {
        if (v > best.value) best = {d, v};
    }
    return best;
}

}  // namespace quorvel
