#pragma once
// The combined field under the current rule as the project window's 现行导则
// tab shows it: a row per pollutant, a row per receptor and pollutant, and
// the protection distance, its deciding pollutant, the area and the sides.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "ui/core/table_clipboard.h"

namespace quorvel {

inline constexpr std::array<std::u16string_view, 7> kFieldPollutantHeaders = {
    u"污染物",       u"S (µg/m³)", u"厂界外最大浓度 (µg/m³)", u"最大占标率 (%)", u"削减比例 (%)",
    u"超标距离 (m)", u"浓度场"};
inline constexpr std::array<std::u16string_view, 7> kFieldReceptorHeaders = {
    u"敏感目标",   u"位于防护区域内", u"污染物",          u"浓度 (µg/m³)",
    u"占标率 (%)", u"超标",           u"各源贡献 (µg/m³)"};

struct FieldPollutantRow {
    std::u16string pollutant;
    std::u16string standard;    // S, ug/m^3, 4 significant digits; "—"
    std::u16string maxOutside;  // ug/m^3, 4 significant digits; "—"
    std::u16string ratio;       // its share of S, percent with 2 decimals; "—"
    std::u16string cut;         // percent with 2 decimals; "—"
    std::u16string distance;    // D_k rounded up to the whole metre; "—" without a boundary
    std::u16string source;      // "估算模式" or the field file's name
    // The pollutant's error, or why it is not final, or what was left aside; empty when none.
    std::u16string note;
    bool error = false;  // not computed at all
};

struct FieldReceptorRow {
    std::u16string name;
    std::u16string inArea;  // "是" / "否"
    std::u16string pollutant;
    std::u16string c;        // ug/m^3, 4 significant digits
    std::u16string ratio;    // percent with 2 decimals
    std::u16string exceeds;  // "是" / "否"
    std::u16string shares;   // "S1 150.1，S2 60.2": each source's share, ug/m^3
    bool isExceeding = false;
};

struct FieldResultsView {
    std::vector<FieldPollutantRow> pollutants;
    std::vector<FieldReceptorRow> receptors;
    // "87 m" (rounded up to the whole metre), "0 m（厂界外无超标区域）", or
    // "—（项目未给出厂界）".
    std::u16string distance;
    std::u16string decidingPollutant;  // "—" when none
    std::u16string area;               // "51230.0 m²"; "—" without a boundary
    std::u16string exceedingSides;     // "1、2"; "无"; "—" without a boundary
    // The current rule's conclusion, as the sheet words it: its sentences
    // one after another.
    std::u16string conclusion;
};

// The view of `field`, computed for `project`.
FieldResultsView MakeFieldResultsView(const project::Project& project,
                                      const project::FieldResult& field);

// The tables with their header rows, for the clipboard.
CellBlock FieldPollutantsBlock(const FieldResultsView& view);
CellBlock FieldReceptorsBlock(const FieldResultsView& view);

}  // namespace quorvel
