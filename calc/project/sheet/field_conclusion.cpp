#include "calc/project/sheet/field_conclusion.h"

#include <algorithm>
#include <cmath>

#include "calc/project/sheet/field_text.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::string PercentText(double share) { return FixedText(share * 100, 1) + "%"; }

bool Computed(const PollutantFieldResult& p) { return p.error.empty(); }

std::vector<std::string> NotFinalSentences(const FieldResult& field) {
    std::vector<std::string> reasons;
    for (const PollutantFieldResult& p : field.pollutants) {
        if (Computed(p) && !p.final) {
            reasons.push_back(p.pollutant + (p.note.empty() ? "" : "（" + ToUtf8(p.note) + "）"));
        }
    }
    std::vector<std::string> sentences;
    for (const PollutantFieldResult& p : field.pollutants) {
        if (!Computed(p)) {
            sentences.push_back("污染物" + p.pollutant + "未能计算叠加浓度场：" + ToUtf8(p.error) +
                                "。");
        }
    }
    if (!reasons.empty() || !sentences.empty()) {
        std::string first = "按现行导则的结果不是最终结果";
        if (!reasons.empty()) first += "：" + Joined(reasons, "；") + "的叠加浓度场不完整";
        sentences.insert(sentences.begin(), first + "。");
    }
    return sentences;
}

// The largest ratio outside the plant of the computed pollutants, as
// "甲苯，75.0%"; empty when none has one.
std::string LargestRatio(const FieldResult& field) {
    const PollutantFieldResult* largest = nullptr;
    for (const PollutantFieldResult& p : field.pollutants) {
        if (!Computed(p) || !p.maxOutside) continue;
        if (!largest || p.maxOutside->ratio > largest->maxOutside->ratio) largest = &p;
    }
    if (!largest) return {};
    return "（最大占标率 " + PercentText(largest->maxOutside->ratio) + "，" + largest->pollutant +
           "）";
}

std::string SidesText(const std::vector<int>& sides) {
    std::vector<std::string> numbers;
    for (const int side : sides) numbers.push_back(std::to_string(side));
    return "第 " + Joined(numbers, "、") + " 边";
}

std::string AreaSentence(const FieldResult& field) {
    const double d = *field.distance;
    std::string text = "大气环境防护距离 D = " + RoundedUpMetres(d);
    if (!field.decidingPollutant.empty()) text += "（由" + field.decidingPollutant + "决定）";
    text += "：防护区域为厂界";
    if (!field.exceedingSides.empty()) text += SidesText(field.exceedingSides);
    text += "以外 " + RoundedUpMetres(d) + " 以内的范围";
    if (field.area) text += "，面积 " + FixedText(*field.area, 0) + " m²";
    return text + "。";
}

std::string ReceptorSentence(const Project& project, const FieldResult& field) {
    if (project.receptors.empty()) return "项目未列出敏感目标。";
    std::vector<std::string> inside;
    for (const ReceptorFieldResult& r : field.receptors) {
        if (r.inArea) inside.push_back(r.name);
    }
    if (inside.empty()) return "防护区域内无敏感目标。";
    return "敏感目标" + Joined(inside, "、") +
           "位于防护区域内，不满足大气环境防护距离的要求，须削减排放或另作安排。";
}

std::string CutSentence(const FieldResult& field) {
    std::vector<std::string> cuts;
    for (const PollutantFieldResult& p : field.pollutants) {
        if (Computed(p) && p.cut && *p.cut > 0 && p.distance && *p.distance > 0) {
            cuts.push_back(p.pollutant + "削减 " + PercentText(*p.cut));
        }
    }
    if (cuts.empty()) return {};
    return "将各污染物的全部排放按比例削减（" + Joined(cuts, "，") +
           "）后，厂界外不再超标，即无需设置大气环境防护区域。";
}

}  // namespace

std::vector<std::string> FieldNotFinalSentences(const ProjectResults& results) {
    return results.field ? NotFinalSentences(*results.field) : std::vector<std::string>{};
}

std::vector<std::string> FieldConclusionSentences(const Project& project,
                                                  const ProjectResults& results) {
    if (!results.field) return {};
    const FieldResult& field = *results.field;
    std::vector<std::string> sentences = NotFinalSentences(field);
    const bool anyComputed =
        std::any_of(field.pollutants.begin(), field.pollutants.end(), Computed);
    if (!anyComputed) {
        sentences.push_back("没有污染物算出叠加浓度场，不能按现行导则确定大气环境防护距离。");
        return sentences;
    }
    if (project.boundary.size() < 3 || !field.distance) {
        sentences.push_back(
            "项目未给出厂界，不能按现行导则确定大气环境防护距离（须以厂界计）；"
            "图中只给出各污染物的超标区域与等值线。");
        return sentences;
    }
    if (!(*field.distance > 0)) {
        // The screening estimate is conservative: below S there, below S indeed.
        const std::string how =
            field.method == "screening" ? "按保守的全厂叠加估算，" : "全厂各面源叠加后，";
        sentences.push_back(how + "各污染物厂界外的最大浓度均低于评价标准" + LargestRatio(field) +
                            "，无需设置大气环境防护区域。");
        return sentences;
    }
    sentences.push_back(AreaSentence(field));
    sentences.push_back(ReceptorSentence(project, field));
    if (std::string cut = CutSentence(field); !cut.empty()) sentences.push_back(std::move(cut));
    return sentences;
}

}  // namespace quorvel::project
