#include "ui/win32/plan_field_bar.h"

// After windows.h, which it builds on:
#include <commctrl.h>

#include <algorithm>

#include "ui/win32/owned_window.h"
#include "ui/win32/wide_text.h"

namespace quorvel {

void PlanFieldBar::Create(HINSTANCE instance, HWND parent, HFONT font, int showsId,
                          int pollutantId) {
    showsId_ = showsId;
    pollutantId_ = pollutantId;
    const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        return CreateChildControl(parent, instance, cls, text, style, id, font);
    };
    showsLabel_ = make(L"STATIC", L"图示:", SS_CENTERIMAGE | SS_RIGHT, -1);
    shows_ = make(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, showsId);
    for (std::u16string_view text : kPlanShowsTexts)
        SendMessageW(shows_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    pollutantLabel_ = make(L"STATIC", L"污染物:", SS_CENTERIMAGE | SS_RIGHT, -1);
    pollutant_ = make(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, pollutantId);
    Show(PlanChoices{});
}

void PlanFieldBar::Layout(int x, int y, int width, int height, double scale) {
    const auto px = [&](int pixels) { return static_cast<int>(pixels * scale + 0.5); };
    const int gap = px(4);
    const int right = x + width;
    // The drop-down lists open below the bar.
    const int listHeight = px(200);
    const auto place = [&](HWND control, int wanted, int high) {
        const int w = std::max(0, std::min(wanted, right - x));
        // Painted anew where it lands: the old pixels moved along were another label's.
        SetWindowPos(control, nullptr, x, y, w, high,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        InvalidateRect(control, nullptr, TRUE);
        x += w + gap;
    };
    place(showsLabel_, px(36), height);
    place(shows_, px(170), listHeight);
    place(pollutantLabel_, px(50), height);
    place(pollutant_, px(170), listHeight);
}

void PlanFieldBar::Show(const PlanChoices& choices) {
    SendMessageW(shows_, CB_SETCURSEL, static_cast<WPARAM>(choices.shows), 0);
    SendMessageW(pollutant_, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& name : choices.pollutants)
        SendMessageW(pollutant_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    SendMessageW(pollutant_, CB_SETCURSEL, static_cast<WPARAM>(choices.chosen), 0);
    EnableWindow(pollutant_, choices.chooserEnabled());
}

bool PlanFieldBar::OnCommand(int id, int code) {
    if (id != showsId_ && id != pollutantId_) return false;
    if (code != CBN_SELCHANGE) return true;
    if (id == showsId_) {
        const auto index = SendMessageW(shows_, CB_GETCURSEL, 0, 0);
        if (index >= 0 && events_.shows) events_.shows(static_cast<PlanShows>(index));
    } else {
        const auto index = SendMessageW(pollutant_, CB_GETCURSEL, 0, 0);
        if (index >= 0 && events_.pollutant) events_.pollutant(static_cast<std::size_t>(index));
    }
    return true;
}

}  // namespace quorvel
