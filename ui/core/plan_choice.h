#pragma once
// What the project window's plan shows: the current rule's combined field
// (one pollutant's contours and exceedance, or every pollutant with the
// protection area) or each source's control range and the zone.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/project_results.h"

namespace quorvel {

enum class PlanShows { CurrentRule = 0, PerSource = 1 };

// The switch's items, indexed by PlanShows.
inline constexpr std::array<std::u16string_view, 2> kPlanShowsTexts = {u"现行导则（全厂叠加）",
                                                                       u"各源控制距离"};
// The pollutant chooser's first item: every pollutant with the protection area.
inline constexpr char16_t kAllPollutantsChoice[] = u"全部污染物及防护区域";

struct PlanChoices {
    PlanShows shows = PlanShows::CurrentRule;
    // The chooser's items: kAllPollutantsChoice, then each pollutant whose
    // field was computed, in the field's order.
    std::vector<std::u16string> pollutants{kAllPollutantsChoice};
    std::size_t chosen = 0;  // index into `pollutants`
    // The chooser applies to the current rule only.
    bool chooserEnabled() const { return shows == PlanShows::CurrentRule; }
    friend bool operator==(const PlanChoices&, const PlanChoices&) = default;
};

// The pollutants the chooser offers for `field` (its pollutants without an
// error), UTF-8.
std::vector<std::string> ChoosablePollutants(const project::FieldResult& field);

// `choices` with the items of `pollutants` (UTF-8); the pollutant chosen
// before stays chosen when it is still there, else all are.
PlanChoices WithPollutants(PlanChoices choices, const std::vector<std::string>& pollutants);

// The pollutant chosen, UTF-8; empty for all of them.
std::string ChosenPollutant(const PlanChoices& choices);

}  // namespace quorvel
