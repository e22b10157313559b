#include "ui/core/field_results_view.h"

#include "calc/project/sheet/field_conclusion.h"
#include "calc/project/sheet/field_text.h"
#include "calc/unicode_text.h"
#include "ui/core/result_texts.h"

namespace quorvel {
namespace {

// Metres rounded up to the whole metre, as the sheet gives distances.
std::u16string WholeMetres(double metres) { return FromUtf8(project::RoundedUpMetres(metres)); }

std::u16string SharesText(const std::vector<project::FieldShare>& shares) {
    std::u16string text;
    for (const project::FieldShare& share : shares) {
        if (!text.empty()) text += u"，";
        text += FromUtf8(share.source) + u" " + SignificantText(share.c);
    }
    return text.empty() ? std::u16string(kNoValue) : text;
}

FieldPollutantRow PollutantRow(const project::PollutantFieldResult& p) {
    FieldPollutantRow row;
    row.pollutant = FromUtf8(p.pollutant);
    row.source = p.source == "screening" ? std::u16string(u"估算模式") : FromUtf8(p.source);
    row.error = !p.error.empty();
    row.note = row.error ? p.error : p.note;
    row.standard = SignificantText(p.standard);
    std::optional<double> c;
    std::optional<double> ratio;
    if (p.maxOutside) {
        c = p.maxOutside->c;
        ratio = p.maxOutside->ratio;
    }
    row.maxOutside = SignificantText(c);
    row.ratio = PercentText(ratio);
    row.cut = PercentText(p.cut);
    row.distance = p.distance ? WholeMetres(*p.distance) : std::u16string(kNoValue);
    return row;
}

}  // namespace

FieldResultsView MakeFieldResultsView(const project::Project& project,
                                      const project::FieldResult& field) {
    FieldResultsView view;
    project::ProjectResults results;
    results.field = field;
    for (const std::string& sentence : project::FieldConclusionSentences(project, results))
        view.conclusion += FromUtf8(sentence);
    for (const project::PollutantFieldResult& p : field.pollutants)
        view.pollutants.push_back(PollutantRow(p));
    for (const project::ReceptorFieldResult& r : field.receptors) {
        for (const project::ReceptorPollutant& p : r.pollutants) {
            view.receptors.push_back({FromUtf8(r.name), r.inArea ? u"是" : u"否",
                                      FromUtf8(p.pollutant), SignificantText(p.value.c),
                                      PercentText(p.value.ratio), p.exceeds ? u"是" : u"否",
                                      SharesText(p.value.shares), p.exceeds});
        }
    }
    if (!field.distance) {
        view.distance = u"—（项目未给出厂界）";
        view.area = kNoValue;
        view.exceedingSides = kNoValue;
    } else {
        view.distance = *field.distance > 0 ? WholeMetres(*field.distance)
                                            : std::u16string(u"0 m（厂界外无超标区域）");
        view.area = FixedText16(field.area.value_or(0.0), 1) + u" m²";
        for (const int side : field.exceedingSides) {
            if (!view.exceedingSides.empty()) view.exceedingSides += u"、";
            view.exceedingSides += FromUtf8(std::to_string(side));
        }
        if (view.exceedingSides.empty()) view.exceedingSides = u"无";
    }
    view.decidingPollutant = field.decidingPollutant.empty() ? std::u16string(kNoValue)
                                                             : FromUtf8(field.decidingPollutant);
    return view;
}

CellBlock FieldPollutantsBlock(const FieldResultsView& view) {
    CellBlock block{HeaderRow(kFieldPollutantHeaders)};
    for (const FieldPollutantRow& r : view.pollutants) {
        block.push_back(
            {r.pollutant, r.standard, r.maxOutside, r.ratio, r.cut, r.distance, r.source});
    }
    return block;
}

CellBlock FieldReceptorsBlock(const FieldResultsView& view) {
    CellBlock block{HeaderRow(kFieldReceptorHeaders)};
    for (const FieldReceptorRow& r : view.receptors) {
        block.push_back({r.name, r.inArea, r.pollutant, r.c, r.ratio, r.exceeds, r.shares});
    }
    return block;
}

}  // namespace quorvel
