#include "calc/project/sheet/sheet_limits.h"

#include <algorithm>
#include <optional>

#include "calc/project/sheet/sheet_text.h"
#include "calc/sheet/markup.h"

namespace quorvel::project {
namespace {

using LimitMember = std::optional<RateLimit> EmissionLimits::*;

struct TargetWords {
    LimitMember member;
    const char* heading;  // the table's column
    const char* need;     // what the cut is for, in the conclusion
};

constexpr TargetWords kTargets[] = {
    {&EmissionLimits::boundary, "控制范围不出厂界", "控制范围超出厂界"},
    {&EmissionLimits::receptors, "控制范围不及敏感目标", "控制范围达到敏感目标"},
    {&EmissionLimits::distance, "不超过目标距离", "建议距离超过目标距离"},
};

std::string PercentText(double share) { return FixedText(share * 100, 1) + "%"; }

}  // namespace

std::string LimitCellText(const std::optional<RateLimit>& limit, RateUnit unit) {
    if (!limit) return "—";
    std::string text = NumberText(limit->rateMax) + " " + RateUnitText(unit);
    text += limit->cut > 0 ? "（削减 " + PercentText(limit->cut) + "）" : "（无需削减）";
    if (!limit->settled) text += "≈";
    return text;
}

std::string LimitsTableHtml(const Project& project, const ProjectResults& results) {
    const bool any = std::any_of(results.emissions.begin(), results.emissions.end(),
                                 [](const EmissionResult& e) { return e.limits.has_value(); });
    if (!any) return {};
    std::string html =
        "<h3>排放限值（满足各项要求的最大排放率）</h3>\n<table class=\"grid\">\n<thead><tr>"
        "<th>污染源</th><th>污染物</th><th>现排放率</th>";
    for (const TargetWords& target : kTargets)
        html += "<th>" + std::string(target.heading) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < results.emissions.size(); ++i) {
        const EmissionResult& result = results.emissions[i];
        const Emission* emission = EmissionOf(project, i, result);
        if (!result.limits || emission == nullptr) continue;
        html += "<tr><td>" + Html(SourceTitle(project, result.source)) + "</td><td>" +
                Html(result.pollutant) + "</td><td class=\"n\">" + NumberText(emission->rate) +
                " " + RateUnitText(emission->unit) + "</td>";
        for (const TargetWords& target : kTargets) {
            html += "<td class=\"n\">" +
                    Html(LimitCellText((*result.limits).*target.member, emission->unit)) + "</td>";
        }
        html += "</tr>\n";
    }
    html +=
        "</tbody>\n</table>\n<p class=\"note\">注：排放率按浓度与源强成正比估算后，再经模式计算"
        "核实：按所列排放率计算满足要求，再增加 0.1% 即不满足；“—”表示该项要求不适用，"
        "“≈”表示未能核实到 0.1%。</p>\n";
    return html;
}

std::vector<std::string> CutSentences(const Project& project, const ProjectResults& results) {
    std::vector<std::string> sentences;
    for (const Source& source : project.sources) {
        std::vector<std::string> parts;
        for (const TargetWords& target : kTargets) {
            if (target.member == &EmissionLimits::distance) continue;  // not a zone's reach
            std::vector<std::string> cuts;
            for (const EmissionResult& result : results.emissions) {
                if (result.source != source.id || !result.limits) continue;
                const std::optional<RateLimit>& limit = (*result.limits).*target.member;
                if (limit && limit->cut > 0) {
                    cuts.push_back(result.pollutant + "削减 " + PercentText(limit->cut));
                }
            }
            if (cuts.empty()) continue;
            std::string part = std::string(target.need) + "，须将";
            for (std::size_t i = 0; i < cuts.size(); ++i) part += (i ? "、" : "") + cuts[i];
            parts.push_back(part);
        }
        if (parts.empty()) continue;
        std::string sentence = SourceTitle(project, source.id) + "的";
        for (std::size_t i = 0; i < parts.size(); ++i) sentence += (i ? "；" : "") + parts[i];
        sentences.push_back(sentence + "。");
    }
    return sentences;
}

}  // namespace quorvel::project
