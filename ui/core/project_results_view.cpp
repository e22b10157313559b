#include "ui/core/project_results_view.h"

#include "calc/project/files/shortest_number.h"
#include "calc/project/sheet/sheet_conclusion.h"
#include "calc/project/sheet/sheet_limits.h"
#include "calc/project/sheet/sheet_text.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"
#include "ui/core/result_texts.h"

namespace quorvel {
namespace {

using project::EmissionOutcome;
using project::SourceOutcome;

std::u16string TitleOf(const project::Project& project, const std::string& id) {
    return FromUtf8(project::SourceTitle(project, id));
}

std::u16string DistanceText(const project::SourceResult& source) {
    switch (source.outcome) {
        case SourceOutcome::Distance:
            return FromUtf8(project::Metres(source.distance));
        case SourceOutcome::Beyond:
            return u"> 5000 m（须削减源强后重新计算）";
        case SourceOutcome::None:
            return u"无超标点";
        case SourceOutcome::Incomplete:
            break;
    }
    return u"计算不完整";
}

}  // namespace

ResultsView MakeResultsView(const project::Project& project,
                            const project::ProjectResults& results) {
    ResultsView view;
    for (const project::EmissionResult& e : results.emissions) {
        EmissionResultRow row;
        row.source = TitleOf(project, e.source);
        row.pollutant = FromUtf8(e.pollutant);
        row.standard = SignificantText(e.standard);
        row.cmax = SignificantText(e.cmax);
        row.pmax = PercentText(e.pmax);
        row.error = e.outcome == EmissionOutcome::Error;
        row.result = row.error ? u"未能计算：" + e.error : e.verdict;
        view.emissions.push_back(std::move(row));
    }
    for (const project::SourceResult& s : results.sources) {
        view.sources.push_back({TitleOf(project, s.id), DistanceText(s),
                                s.decidingPollutant.empty() ? std::u16string(kNoValue)
                                                            : FromUtf8(s.decidingPollutant)});
    }
    for (const project::ReceptorResult& r : results.receptors) {
        view.receptors.push_back({FromUtf8(r.name), r.inside ? u"是" : u"否",
                                  r.inPlant ? u"是" : u"否", MetresText(r.margin), r.inside});
    }
    for (std::size_t i = 0; i < results.emissions.size(); ++i) {
        const project::EmissionResult& e = results.emissions[i];
        const project::Emission* emission = project::EmissionOf(project, i, e);
        if (!e.limits || emission == nullptr) continue;
        const auto cell = [&](const std::optional<project::RateLimit>& limit) {
            return FromUtf8(project::LimitCellText(limit, emission->unit));
        };
        view.limits.push_back(
            {TitleOf(project, e.source), FromUtf8(e.pollutant),
             FromUtf8(NumberText(emission->rate) + " " + project::RateUnitText(emission->unit)),
             cell(e.limits->boundary), cell(e.limits->receptors), cell(e.limits->distance)});
    }
    const project::ZoneResult& zone = results.zone;
    view.zoneArea = FixedText16(zone.area, 1) + u" m²";
    view.zoneReach = zone.maxBeyondBoundary ? FixedText16(*zone.maxBeyondBoundary, 1) + u" m"
                                            : std::u16string(u"—（项目未给出厂界）");
    if (!zone.error.empty()) {
        view.notFinal = zone.error;
    } else {
        for (const std::string& line : project::NotFinalLines(project, results)) {
            if (!view.notFinal.empty()) view.notFinal += u"\r\n";
            view.notFinal += FromUtf8(line);
        }
    }
    view.conclusion = FromUtf8(project::ConclusionText(project, results));
    return view;
}

CellBlock EmissionResultsBlock(const ResultsView& view) {
    CellBlock block{HeaderRow(kEmissionResultHeaders)};
    for (const EmissionResultRow& r : view.emissions) {
        block.push_back({r.source, r.pollutant, r.standard, r.cmax, r.pmax, r.result});
    }
    return block;
}

CellBlock SourceResultsBlock(const ResultsView& view) {
    CellBlock block{HeaderRow(kSourceResultHeaders)};
    for (const SourceResultRow& r : view.sources) {
        block.push_back({r.source, r.distance, r.decidingPollutant});
    }
    return block;
}

CellBlock ReceptorResultsBlock(const ResultsView& view) {
    CellBlock block{HeaderRow(kReceptorResultHeaders)};
    for (const ReceptorResultRow& r : view.receptors) {
        block.push_back({r.name, r.inside, r.inPlant, r.margin});
    }
    return block;
}

CellBlock LimitResultsBlock(const ResultsView& view) {
    CellBlock block{HeaderRow(kLimitResultHeaders)};
    for (const LimitResultRow& r : view.limits) {
        block.push_back({r.source, r.pollutant, r.rate, r.boundary, r.receptors, r.distance});
    }
    return block;
}

}  // namespace quorvel
