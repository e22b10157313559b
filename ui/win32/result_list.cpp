#include "ui/win32/result_list.h"

// After windows.h, which it builds on:
#include <commctrl.h>

#include <algorithm>

#include "ui/win32/wide_text.h"

namespace quorvel {

void FillList(HWND list, std::span<const std::u16string_view> headers, const CellBlock& rows) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    while (ListView_DeleteColumn(list, 0)) {
    }
    for (std::size_t i = 0; i < headers.size(); ++i) {
        std::wstring header = Wide(headers[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header.data();
        column.cx = 100;
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
    const auto oneLine = [](std::u16string_view cell) {
        std::wstring text = Wide(cell);
        std::replace(text.begin(), text.end(), L'\r', L' ');
        std::replace(text.begin(), text.end(), L'\n', L' ');
        return text;
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        std::wstring first = rows[r].empty() ? std::wstring() : oneLine(rows[r][0]);
        item.pszText = first.data();
        ListView_InsertItem(list, &item);
        for (std::size_t c = 1; c < rows[r].size() && c < headers.size(); ++c) {
            std::wstring text = oneLine(rows[r][c]);
            ListView_SetItemText(list, static_cast<int>(r), static_cast<int>(c), text.data());
        }
    }
    for (std::size_t i = 0; i < headers.size(); ++i) {
        ListView_SetColumnWidth(list, static_cast<int>(i), LVSCW_AUTOSIZE_USEHEADER);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

CellBlock Body(CellBlock block) {
    if (!block.empty()) block.erase(block.begin());
    return block;
}

CellBlock SelectedRows(HWND list, const CellBlock& block) {
    CellBlock chosen{block.empty() ? std::vector<std::u16string>{} : block.front()};
    for (int r = ListView_GetNextItem(list, -1, LVNI_SELECTED); r >= 0;
         r = ListView_GetNextItem(list, r, LVNI_SELECTED)) {
        if (static_cast<std::size_t>(r) + 1 < block.size()) {
            chosen.push_back(block[static_cast<std::size_t>(r) + 1]);
        }
    }
    return chosen.size() > 1 ? chosen : block;
}

}  // namespace quorvel
