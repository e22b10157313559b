#include "ui/console/batch_report.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"
#include "ui/console/text_table.h"

namespace quorvel {
namespace {

using project::EmissionOutcome;
using project::SourceOutcome;

std::string FirstLine(const std::u16string& text) {
    return ToUtf8(text.substr(0, text.find_first_of(u"\r\n")));
}

std::string SourceLabel(const project::Project& project, const std::string& id) {
    for (const project::Source& source : project.sources) {
        if (source.id == id) return source.name.empty() ? id : id + " " + source.name;
    }
    return id;
}

std::string SourceOutcomeText(const project::SourceResult& source) {
    switch (source.outcome) {
        case SourceOutcome::Distance:
            return NumberText(*source.distance) + " m";
        case SourceOutcome::Beyond:
            return "> 5000 m，须削减源强后再计算";
        case SourceOutcome::None:
            return "无超标点";
        case SourceOutcome::Incomplete:
            return "未算完（有排放计算出错）";
    }
    return {};
}

// The largest cut of the source's emissions for one target; empty when the
// target applies to none of them.
std::optional<double> SourceCut(
    const project::ProjectResults& results, const std::string& id,
    std::optional<project::RateLimit> project::EmissionLimits::*target) {
    std::optional<double> cut;
    for (const project::EmissionResult& emission : results.emissions) {
        if (emission.source != id || !emission.limits) continue;
        const std::optional<project::RateLimit>& limit = (*emission.limits).*target;
        if (limit && (!cut || limit->cut > *cut)) cut = limit->cut;
    }
    return cut;
}

std::string CutText(std::optional<double> cut) {
    if (!cut) return "-";
    if (*cut <= 0) return "0%";
    return FixedText(*cut * 100, 1) + "%";
}

}  // namespace

std::string ProgressLine(std::size_t done, std::size_t total, const project::Project& project,
                         const project::EmissionResult& result) {
    const std::string count = std::to_string(total);
    std::string index = std::to_string(done);
    index.insert(0, count.size() > index.size() ? count.size() - index.size() : 0, ' ');
    std::string line = "[" + index + "/" + count + "] " + SourceLabel(project, result.source) +
                       " / " + result.pollutant + ": ";
    switch (result.outcome) {
        case EmissionOutcome::Distance:
            line += NumberText(*result.distance) + " m";
            break;
        case EmissionOutcome::Beyond:
        case EmissionOutcome::None:
            line += FirstLine(result.verdict);
            break;
        case EmissionOutcome::Error:
            line += "错误: " + FirstLine(result.error);
            break;
    }
    return line;
}

std::string SummaryTable(const project::Project& project, const project::ProjectResults& results) {
    std::vector<std::vector<std::string>> rows{{"排放源", "名称", "建议距离", "决定污染物"}};
    for (std::size_t i = 0; i < results.sources.size() && i < project.sources.size(); ++i) {
        const project::SourceResult& source = results.sources[i];
        rows.push_back({source.id, project.sources[i].name, SourceOutcomeText(source),
                        source.decidingPollutant});
    }
    std::string text = TextTable(rows);

    const project::ZoneResult& zone = results.zone;
    text += "\n防护区域: 面积 " + FixedText(zone.area, 1) + " m²";
    if (zone.maxBeyondBoundary) {
        text += "，超出厂界最远 " + FixedText(*zone.maxBeyondBoundary, 1) + " m";
    }
    if (!zone.bounded) text += "（结果未定: 有排放源超出5000 m或未算完）";
    text += "\n";
    if (!zone.error.empty()) text += ToUtf8(zone.error) + "\n";

    if (!results.receptors.empty()) {
        std::vector<std::vector<std::string>> receptorRows{
            {"敏感目标", "防护区域内", "厂内", "余量"}};
        for (const project::ReceptorResult& receptor : results.receptors) {
            receptorRows.push_back({receptor.name, receptor.inside ? "是" : "否",
                                    receptor.inPlant ? "是" : "否",
                                    receptor.margin ? FixedText(*receptor.margin, 1) + " m" : "-"});
        }
        text += "\n" + TextTable(receptorRows);
    }
    return text;
}

}  // namespace quorvel

namespace quorvel {

std::string LimitsTable(const project::Project& project, const project::ProjectResults& results) {
    const bool any =
        std::any_of(results.emissions.begin(), results.emissions.end(),
                    [](const project::EmissionResult& e) { return e.limits.has_value(); });
    if (!any) return {};
    std::vector<std::vector<std::string>> rows{{"须削减", "厂界内", "不及敏感目标", "目标距离内"}};
    for (const project::Source& source : project.sources) {
        rows.push_back(
            {source.name.empty() ? source.id : source.id + " " + source.name,
             CutText(SourceCut(results, source.id, &project::EmissionLimits::boundary)),
             CutText(SourceCut(results, source.id, &project::EmissionLimits::receptors)),
             CutText(SourceCut(results, source.id, &project::EmissionLimits::distance))});
    }
    return TextTable(rows);
}

}  // namespace quorvel
