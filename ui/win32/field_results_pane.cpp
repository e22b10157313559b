#include "ui/win32/field_results_pane.h"

// After windows.h, which it builds on:
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "ui/win32/owned_window.h"
#include "ui/win32/result_list.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

// The per-pollutant table with a last column for the pollutant's note.
constexpr std::array<std::u16string_view, kFieldPollutantHeaders.size() + 1> PollutantHeaders() {
    std::array<std::u16string_view, kFieldPollutantHeaders.size() + 1> headers{};
    for (std::size_t i = 0; i < kFieldPollutantHeaders.size(); ++i)
        headers[i] = kFieldPollutantHeaders[i];
    headers.back() = u"说明";
    return headers;
}
constexpr auto kPollutantHeaders = PollutantHeaders();

HWND MakeList(HINSTANCE instance, HWND parent, HFONT font, int id) {
    HWND list =
        CreateChildControl(parent, instance, WC_LISTVIEWW, L"",
                           LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, id, font, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(
        list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    ShowWindow(list, SW_HIDE);
    return list;
}

}  // namespace

void FieldResultsPane::Create(HINSTANCE instance, HWND parent, HFONT font, int summaryId,
                              int pollutantsId, int receptorsId) {
    summary_ = CreateChildControl(parent, instance, L"STATIC", L"", SS_LEFT | SS_NOPREFIX,
                                  summaryId, font);
    ShowWindow(summary_, SW_HIDE);
    pollutants_ = MakeList(instance, parent, font, pollutantsId);
    receptors_ = MakeList(instance, parent, font, receptorsId);
    Show(nullptr);
}

void FieldResultsPane::Layout(const RECT& area, int gap, int lineHeight) {
    const int width = area.right - area.left;
    const int summaryHeight = 2 * lineHeight;
    MoveWindow(summary_, area.left, area.top, width, summaryHeight, TRUE);
    const int top = area.top + summaryHeight + gap;
    const int lists = std::max(0, static_cast<int>(area.bottom) - top - gap);
    const int pollutantsHeight = lists * 2 / 5;
    MoveWindow(pollutants_, area.left, top, width, pollutantsHeight, TRUE);
    MoveWindow(receptors_, area.left, top + pollutantsHeight + gap, width, lists - pollutantsHeight,
               TRUE);
    for (HWND control : {summary_, pollutants_, receptors_})
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void FieldResultsPane::SetVisible(bool visible) {
    for (HWND control : {summary_, pollutants_, receptors_})
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void FieldResultsPane::Show(const FieldResultsView* field) {
    if (field == nullptr) {
        FillList(pollutants_, kPollutantHeaders, {});
        FillList(receptors_, kFieldReceptorHeaders, {});
        SetWindowTextW(summary_, L"浓度场尚未算出。");
        return;
    }
    CellBlock pollutants = Body(FieldPollutantsBlock(*field));
    for (std::size_t row = 0; row < pollutants.size() && row < field->pollutants.size(); ++row)
        pollutants[row].push_back(field->pollutants[row].note);
    FillList(pollutants_, kPollutantHeaders, pollutants);
    FillList(receptors_, kFieldReceptorHeaders, Body(FieldReceptorsBlock(*field)));
    const std::u16string summary = u"防护距离：" + field->distance + u"　　决定污染物：" +
                                   field->decidingPollutant + u"　　防护区域面积：" + field->area +
                                   u"　　超标厂界边：" + field->exceedingSides;
    SetWindowTextW(summary_, Wide(summary).c_str());
}

std::optional<CellBlock> FieldResultsPane::CopyOf(HWND focus, const FieldResultsView& field) const {
    if (focus == pollutants_) return SelectedRows(pollutants_, FieldPollutantsBlock(field));
    if (focus == receptors_) return SelectedRows(receptors_, FieldReceptorsBlock(field));
    return std::nullopt;
}

}  // namespace quorvel
