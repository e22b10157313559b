#include "model/model_run.h"

#include <algorithm>
#include <map>

#include "model/distances.h"

namespace quorvel {

ModelResults RunModel(const ModelAnswers& answers) {
    const WorstCaseSearch search(
        answers.source,
        ExpandMetChoice(answers.met, answers.source.release_height, answers.source.land_use),
        answers.direction);
    ModelResults results;
    std::map<double, WorstCase> computed;
    auto worst_at = [&](double distance) {
        auto it = computed.find(distance);
        if (it == computed.end()) it = computed.emplace(distance, search.At(distance)).first;
        return it->second;
    };

    if (answers.automated) {
        for (double d : AutomatedDistances(answers.automated_minimum, answers.automated_maximum)) {
            results.automated.push_back({d, worst_at(d)});
        }
        const auto& rows = results.automated;
        const auto peak =
            std::max_element(rows.begin(), rows.end(), [](const auto& l, const auto& r) {
                return l.worst.concentration < r.worst.concentration;
            });
        const std::size_t i = static_cast<std::size_t>(peak - rows.begin());
        const ResultRow& low = rows[i == 0 ? 0 : i - 1];
        const ResultRow& high = rows[i + 1 < rows.size() ? i + 1 : i];
        const PeakDistance refined = RefinePeakToMetre(
            [&](double d) { return worst_at(d).concentration; },
            {low.distance, low.worst.concentration}, {high.distance, high.worst.concentration});
        results.automated_maximum = ResultRow{refined.distance, worst_at(refined.distance)};
        results.overall_maximum = *results.automated_maximum;
    }
    if (answers.discrete) {
        for (double d : answers.discrete_distances) results.discrete.push_back({d, worst_at(d)});
        // A discrete distance off the automated grid can see more than its refined
        // peak (or there is no automated array): the overall maximum is the larger.
        const auto top = std::max_element(results.discrete.begin(), results.discrete.end(),
                                          [](const auto& l, const auto& r) {
                                              return l.worst.concentration < r.worst.concentration;
                                          });
        if (!results.automated_maximum ||
            top->worst.concentration > results.overall_maximum.worst.concentration) {
            results.overall_maximum = *top;
        }
    }
    return results;
}

}  // namespace quorvel
