#include "ui/core/plan_choice.h"

#include <algorithm>

#include "calc/unicode_text.h"

namespace quorvel {

std::vector<std::string> ChoosablePollutants(const project::FieldResult& field) {
    std::vector<std::string> names;
    for (const project::PollutantFieldResult& p : field.pollutants)
        if (p.error.empty()) names.push_back(p.pollutant);
    return names;
}

PlanChoices WithPollutants(PlanChoices choices, const std::vector<std::string>& pollutants) {
    const std::u16string chosen = choices.chosen > 0 && choices.chosen < choices.pollutants.size()
                                      ? choices.pollutants[choices.chosen]
                                      : std::u16string();
    choices.pollutants.assign(1, kAllPollutantsChoice);
    for (const std::string& name : pollutants) choices.pollutants.push_back(FromUtf8(name));
    const auto found = std::find(choices.pollutants.begin() + 1, choices.pollutants.end(), chosen);
    choices.chosen = chosen.empty() || found == choices.pollutants.end()
                         ? 0
                         : static_cast<std::size_t>(found - choices.pollutants.begin());
    return choices;
}

std::string ChosenPollutant(const PlanChoices& choices) {
    if (choices.chosen == 0 || choices.chosen >= choices.pollutants.size()) return {};
    return ToUtf8(choices.pollutants[choices.chosen]);
}

}  // namespace quorvel
