#pragma once
// A project run's results as the window's results tables and texts show
// them: every number already in its display form.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "ui/core/table_clipboard.h"

namespace quorvel {

inline constexpr std::array<std::u16string_view, 6> kEmissionResultHeaders = {
    u"排放源", u"污染物", u"S (µg/m³)", u"Cmax (µg/m³)", u"Pmax (%)", u"结果"};
inline constexpr std::array<std::u16string_view, 3> kSourceResultHeaders = {
    u"排放源", u"建议距离", u"决定建议距离的污染物"};
inline constexpr std::array<std::u16string_view, 4> kReceptorResultHeaders = {
    u"敏感目标", u"位于防护区域内", u"位于厂界内", u"距最近控制范围边缘 (m)"};

// The limits table: the rate now, then the largest rate for each target.
inline constexpr std::array<std::u16string_view, 6> kLimitResultHeaders = {
    u"排放源",        u"污染物", u"现排放率", u"控制范围不出厂界", u"控制范围不及敏感目标",
    u"不超过目标距离"};

struct EmissionResultRow {
    std::u16string source;  // "S1（罐区）"
    std::u16string pollutant;
    std::u16string standard;  // S, ug/m^3, 4 significant digits; "—" when there is none
    std::u16string cmax;      // ug/m^3, 4 significant digits; "—"
    std::u16string pmax;      // percent with 2 decimals; "—"
    // The main window's result text exactly (CR LF inside), or for a row in
    // error "未能计算：" and its message.
    std::u16string result;
    bool error = false;
};

struct SourceResultRow {
    std::u16string source;  // "S1（罐区）"
    std::u16string
        distance;  // "150 m", "> 5000 m（须削减源强后重新计算）", "无超标点", "计算不完整"
    std::u16string decidingPollutant;  // "—" when no pollutant decides
};

struct ReceptorResultRow {
    std::u16string name;
    std::u16string inside;   // "是" / "否"
    std::u16string inPlant;  // "是" / "否"
    std::u16string margin;   // m with 1 decimal, negative inside a disc; "—" without a disc
    bool isInside = false;
};

// An emission's limits, as the project sheet's limits table shows them:
// "0.6 g/s（削减 40.0%）", "—" where a target does not apply.
struct LimitResultRow {
    std::u16string source;  // "S1（罐区）"
    std::u16string pollutant;
    std::u16string rate;  // the rate now with its unit
    std::u16string boundary;
    std::u16string receptors;
    std::u16string distance;
};

struct ResultsView {
    std::vector<EmissionResultRow> emissions;
    std::vector<SourceResultRow> sources;
    std::vector<ReceptorResultRow> receptors;
    std::vector<LimitResultRow> limits;  // emissions with limits; empty when none were computed
    std::u16string zoneArea;             // "40123.5 m²"
    std::u16string zoneReach;            // "95.2 m", or "—（项目未给出厂界）"
    // Empty when the zone is final; else why not (the zone's own error, or
    // the lines saying which sources are missing, CR LF between lines).
    std::u16string notFinal;
    std::u16string conclusion;  // the sheet's conclusion paragraph
};

// The view of `results`, which a run of `project` gave.
ResultsView MakeResultsView(const project::Project& project,
                            const project::ProjectResults& results);

// A results table with its header row, for the clipboard.
CellBlock EmissionResultsBlock(const ResultsView& view);
CellBlock SourceResultsBlock(const ResultsView& view);
CellBlock ReceptorResultsBlock(const ResultsView& view);
CellBlock LimitResultsBlock(const ResultsView& view);

}  // namespace quorvel
