#include "ui/win32/cell_list_view.h"

#include <windowsx.h>

#include <utility>
#include <vector>

#include "ui/win32/wide_text.h"
#include "ui/win32/window_text.h"

namespace quorvel {
namespace {

// Cells with a problem: a light red the table's selection still shows through.
constexpr COLORREF kProblemColour = RGB(255, 205, 205);

bool IsUnitColumn(TableId table, std::size_t column) {
    const auto columns = TableColumns(table);
    return column < columns.size() && columns[column].kind == ColumnKind::UnitChoice;
}

}  // namespace

CellListView::CellListView(TableId table, CellEvents events)
    : table_(table), events_(std::move(events)) {}

bool CellListView::Create(HINSTANCE instance, HWND parent, int id, HFONT font) {
    list_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
        0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (list_ == nullptr) return false;
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ListView_SetExtendedListViewStyle(
        list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    const auto columns = TableColumns(table_);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring header = Wide(columns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header.data();
        column.cx = 80;
        ListView_InsertColumn(list_, static_cast<int>(i), &column);
    }
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10,
                            list_, nullptr, instance, nullptr);
    combo_ = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0,
                             10, 200, list_, nullptr, instance, nullptr);
    for (HWND editor : {edit_, combo_}) {
        SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SetWindowSubclass(editor, EditorProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    for (std::u16string_view unit : kRateUnitTexts) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(unit).c_str()));
    }
    SetWindowSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // The problem of the cell under the pointer, as a tooltip of the whole list.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0,
                           0, 0, list_, nullptr, instance, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = list_;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

void CellListView::Show(const Table& table) {
    EndEdit(false);
    const std::size_t selected = CurrentRow();
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    const std::size_t columns = TableColumns(table_).size();
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        std::wstring first = columns > 0 && !table.rows[r].cells.empty()
                                 ? Wide(table.rows[r].cells[0])
                                 : std::wstring();
        item.pszText = first.data();
        ListView_InsertItem(list_, &item);
        for (std::size_t c = 1; c < columns && c < table.rows[r].cells.size(); ++c) {
            std::wstring text = Wide(table.rows[r].cells[c]);
            ListView_SetItemText(list_, static_cast<int>(r), static_cast<int>(c), text.data());
        }
    }
    if (!table.rows.empty()) SelectCell(std::min(selected, table.rows.size() - 1), column_);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

std::size_t CellListView::CurrentRow() const {
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    return focused < 0 ? 0 : static_cast<std::size_t>(focused);
}

std::vector<std::size_t> CellListView::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(i));
    }
    return rows;
}

std::optional<CellRange> CellListView::Selection() const {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) return std::nullopt;
    if (rows.size() == 1) return CellRange{rows.front(), 1, column_, 1};
    return CellRange{rows.front(), rows.back() - rows.front() + 1, 0, TableColumns(table_).size()};
}

void CellListView::SelectCell(std::size_t row, std::size_t column) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, static_cast<int>(row), FALSE);
    MoveCurrent(column);
}

void CellListView::MoveCurrent(std::size_t column) {
    const std::size_t columns = TableColumns(table_).size();
    column_ = column < columns ? column : columns - 1;
    if (events_.current && ListView_GetItemCount(list_) > 0) {
        events_.current(events_.problem(CurrentRow(), column_));
    }
}

std::wstring CellListView::CellText(std::size_t row, std::size_t column) const {
    std::wstring text(1024, L'\0');
    LVITEMW item{};
    item.iSubItem = static_cast<int>(column);
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CellListView::BeginEdit(std::optional<wchar_t> typed) {
    if (ListView_GetItemCount(list_) == 0) return;
    EndEdit(true);
    editRow_ = CurrentRow();
    editColumn_ = column_;
    ListView_EnsureVisible(list_, static_cast<int>(editRow_), FALSE);
    RECT cell{};
    ListView_GetSubItemRect(list_, static_cast<int>(editRow_), static_cast<int>(editColumn_),
                            LVIR_BOUNDS, &cell);
    // The first column's bounds span the whole row.
    if (editColumn_ == 0) cell.right = cell.left + ListView_GetColumnWidth(list_, 0);
    const std::wstring text = CellText(editRow_, editColumn_);
    editing_ = true;
    if (IsUnitColumn(table_, editColumn_)) {
        const auto index = SendMessageW(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetWindowPos(combo_, HWND_TOP, cell.left, cell.top, cell.right - cell.left, 200,
                     SWP_SHOWWINDOW);
        SetFocus(combo_);
        return;
    }
    SetWindowTextW(edit_, typed ? std::wstring(1, *typed).c_str() : text.c_str());
    SetWindowPos(edit_, HWND_TOP, cell.left, cell.top - 1, cell.right - cell.left,
                 cell.bottom - cell.top + 2, SWP_SHOWWINDOW);
    SetFocus(edit_);
    const int length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, typed ? static_cast<WPARAM>(length) : 0, length);
}

void CellListView::EndEdit(bool commit) {
    if (!editing_) return;
    editing_ = false;
    const bool unit = IsUnitColumn(table_, editColumn_);
    HWND editor = unit ? combo_ : edit_;
    std::wstring text;
    if (unit) {
        const auto index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < kRateUnitTexts.size()) {
            text = Wide(kRateUnitTexts[static_cast<std::size_t>(index)]);
        } else {
            text = CellText(editRow_, editColumn_);
        }
    } else {
        text = WindowText(edit_);
    }
    const bool hadFocus = GetFocus() == editor;
    ShowWindow(editor, SW_HIDE);
    if (hadFocus) SetFocus(list_);
    if (!commit) return;
    ListView_SetItemText(list_, static_cast<int>(editRow_), static_cast<int>(editColumn_),
                         text.data());
    if (events_.commit) events_.commit(editRow_, editColumn_, Utf16(text));
    ListView_RedrawItems(list_, static_cast<int>(editRow_), static_cast<int>(editRow_));
    MoveCurrent(column_);
}

bool CellListView::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) return false;
    switch (header.code) {
        case NM_CUSTOMDRAW: {
            auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                result = CDRF_NOTIFYSUBITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
                const bool bad =
                    events_.problem && !events_
                                            .problem(static_cast<std::size_t>(draw.nmcd.dwItemSpec),
                                                     static_cast<std::size_t>(draw.iSubItem))
                                            .empty();
                draw.clrTextBk = bad ? kProblemColour : CLR_DEFAULT;
                result = CDRF_NEWFONT;
            } else {
                result = CDRF_DODEFAULT;
            }
            return true;
        }
        case NM_CLICK:
        case NM_DBLCLK: {
            const auto& activate = *reinterpret_cast<const NMITEMACTIVATE*>(&header);
            if (activate.iItem >= 0 && activate.iSubItem >= 0) {
                MoveCurrent(static_cast<std::size_t>(activate.iSubItem));
                if (header.code == NM_DBLCLK) BeginEdit();
            }
            result = 0;
            return true;
        }
        case LVN_ITEMCHANGED:
            MoveCurrent(column_);
            result = 0;
            return true;
        case LVN_KEYDOWN: {
            const auto& key = *reinterpret_cast<const NMLVKEYDOWN*>(&header);
            const std::size_t columns = TableColumns(table_).size();
            if (key.wVKey == VK_F2) BeginEdit();
            if (key.wVKey == VK_LEFT && column_ > 0) MoveCurrent(column_ - 1);
            if (key.wVKey == VK_RIGHT && column_ + 1 < columns) MoveCurrent(column_ + 1);
            InvalidateRect(list_, nullptr, FALSE);
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

LRESULT CALLBACK CellListView::ListProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    return reinterpret_cast<CellListView*>(self)->OnListMessage(message, wParam, lParam);
}

LRESULT CALLBACK CellListView::EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<CellListView*>(self)->OnEditorMessage(window, message, wParam, lParam);
}

LRESULT CellListView::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            // Typing a character starts editing the current cell with it.
            if (wParam >= 0x20 && wParam != 0x7f && GetKeyState(VK_CONTROL) >= 0) {
                BeginEdit(static_cast<wchar_t>(wParam));
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            if (editing_) return DLGC_WANTALLKEYS;
            break;
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_MOUSEWHEEL:
            EndEdit(true);
            break;
        case WM_MOUSEMOVE: {
            LVHITTESTINFO hit{};
            hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ListView_SubItemHitTest(list_, &hit);
            if (hit.iItem != tipRow_ || hit.iSubItem != tipColumn_) {
                tipRow_ = hit.iItem;
                tipColumn_ = hit.iSubItem;
                SendMessageW(tip_, TTM_POP, 0, 0);
            }
            break;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == tip_ && header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                tipText_.clear();
                if (tipRow_ >= 0 && tipColumn_ >= 0 && events_.problem) {
                    tipText_ = Wide(events_.problem(static_cast<std::size_t>(tipRow_),
                                                    static_cast<std::size_t>(tipColumn_)));
                }
                info->lpszText = tipText_.data();
                return 0;
            }
            break;
        }
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == combo_ && HIWORD(wParam) == CBN_SELENDOK) {
                PostMessageW(combo_, WM_KEYDOWN, VK_RETURN, 0);
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(list_, ListProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(list_, message, wParam, lParam);
}

LRESULT CellListView::OnEditorMessage(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DefSubclassProc(editor, message, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_TAB) {
                if (editor == combo_ && SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) break;
                EndEdit(true);
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                if (editor == combo_ && SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) break;
                EndEdit(false);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r' || wParam == L'\t' || wParam == 0x1b) return 0;
            break;
        case WM_KILLFOCUS:
            if (editing_) EndEdit(true);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(editor, EditorProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(editor, message, wParam, lParam);
}

}  // namespace quorvel
