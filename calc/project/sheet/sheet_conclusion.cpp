#include "calc/project/sheet/sheet_conclusion.h"

#include <algorithm>

#include "calc/project/sheet/sheet_limits.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

bool HasDisc(const ProjectResults& results) {
    return std::any_of(results.sources.begin(), results.sources.end(),
                       [](const SourceResult& s) { return s.outcome == SourceOutcome::Distance; });
}

std::string SourceOutcomeText(const Project& project, const SourceResult& source) {
    const std::string title = SourceTitle(project, source.id);
    switch (source.outcome) {
        case SourceOutcome::Distance:
            return title + " " + Metres(source.distance) +
                   (source.decidingPollutant.empty()
                        ? ""
                        : "（由" + source.decidingPollutant + "决定）");
        case SourceOutcome::Beyond:
            return title + " 超过 5000 m";
        case SourceOutcome::None:
            return title + " 无超标点";
        case SourceOutcome::Incomplete:
            break;
    }
    return title + " 计算不完整";
}

std::string ZoneSentence(const Project& project, const ProjectResults& results) {
    const ZoneResult& zone = results.zone;
    if (!HasDisc(results)) return "没有污染源需要设置控制范围，无防护区域";
    if (zone.polygons.empty() && !(zone.area > 0)) {
        return "各污染源的控制范围均在厂界以内，厂界外无防护区域";
    }
    const std::string area = FixedText(zone.area, 1) + " m²";
    if (project.boundary.empty() || !zone.maxBeyondBoundary) {
        return "项目未给出厂界，防护区域为各污染源控制范围的并集，面积 " + area;
    }
    return "防护区域超出厂界最远 " + FixedText(*zone.maxBeyondBoundary, 1) + " m，面积 " + area;
}

std::string ReceptorSentence(const Project& project, const ProjectResults& results) {
    if (project.receptors.empty()) return "项目未列出敏感目标";
    std::vector<std::string> inside;
    for (const ReceptorResult& receptor : results.receptors) {
        if (receptor.inside) inside.push_back(receptor.name);
    }
    if (inside.empty()) return "防护区域范围内无敏感目标";
    return "敏感目标" + Joined(inside, "、") +
           "位于防护区域内，不满足防护距离的要求，须削减有关污染源的排放后重新计算或另作安排";
}

}  // namespace

std::vector<std::string> NotFinalLines(const Project& project, const ProjectResults& results) {
    std::vector<std::string> lines;
    for (const SourceResult& source : results.sources) {
        if (source.outcome != SourceOutcome::Beyond) continue;
        std::vector<std::string> pollutants;
        for (const EmissionResult& e : results.emissions) {
            if (e.source == source.id && e.outcome == EmissionOutcome::Beyond) {
                pollutants.push_back(e.pollutant);
            }
        }
        lines.push_back("污染源 " + SourceTitle(project, source.id) + " 的" +
                        Joined(pollutants, "、") +
                        "在 5000 m 处仍超过评价标准，须削减其排放率后重新计算；"
                        "该污染源未画出控制范围。");
    }
    // Failed rows grouped by their source, in the order the sources first fail.
    std::vector<std::string> failing;
    for (const EmissionResult& e : results.emissions) {
        if (e.outcome == EmissionOutcome::Error &&
            std::find(failing.begin(), failing.end(), e.source) == failing.end()) {
            failing.push_back(e.source);
        }
    }
    for (const std::string& id : failing) {
        std::vector<std::string> rows;
        for (const EmissionResult& e : results.emissions) {
            if (e.source != id || e.outcome != EmissionOutcome::Error) continue;
            rows.push_back(e.pollutant + (e.error.empty() ? "" : "（" + ToUtf8(e.error) + "）"));
        }
        lines.push_back("污染源 " + SourceTitle(project, id) + " 的计算不完整，未能计算：" +
                        Joined(rows, "；") + "。须改正后重新计算。");
    }
    if (lines.empty() && results.zone.bounded) return lines;
    lines.insert(lines.begin(), "本计算书的结果不是最终结果：");
    lines.push_back("防护区域仅由其余污染源的控制范围画出。");
    return lines;
}

std::string ConclusionText(const Project& project, const ProjectResults& results) {
    std::vector<std::string> sources;
    for (const SourceResult& source : results.sources) {
        sources.push_back(SourceOutcomeText(project, source));
    }
    std::string text;
    if (!NotFinalLines(project, results).empty()) text += "（本结论不是最终结果，见文首的说明。）";
    if (!sources.empty())
        text += "各污染源的建议距离（距面源中心）：" + Joined(sources, "；") + "。";
    text += ZoneSentence(project, results);
    const bool zoneDrawn = !results.zone.polygons.empty() || results.zone.area > 0;
    text += zoneDrawn ? "；" + ReceptorSentence(project, results) + "。" : std::string("。");
    for (const std::string& sentence : CutSentences(project, results)) text += sentence;
    return text;
}

}  // namespace quorvel::project
