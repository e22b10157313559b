#pragma once
// One of the project window's tables as a ListView in report view, edited in
// place: a double click, F2 or typing opens an edit box (a drop-down for the
// unit column) over the cell, committed when it is left or with Enter,
// dropped with Esc. Cells with a problem are shaded, with the problem as
// their tooltip.

#include <windows.h>
// After windows.h, which it builds on:
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "ui/core/project_tables.h"

namespace quorvel {

struct CellEvents {
    std::function<void(std::size_t row, std::size_t column, std::u16string text)> commit;
    std::function<std::u16string(std::size_t row, std::size_t column)> problem;
    // The current cell changed: its problem, empty when none.
    std::function<void(const std::u16string& problem)> current;
};

struct CellRange {
    std::size_t firstRow = 0, rowCount = 0, firstColumn = 0, columnCount = 0;
};

class CellListView {
  public:
    CellListView(TableId table, CellEvents events);
    CellListView(const CellListView&) = delete;
    CellListView& operator=(const CellListView&) = delete;

    bool Create(HINSTANCE instance, HWND parent, int id, HFONT font);
    HWND window() const { return list_; }
    TableId table() const { return table_; }
    void Show(const Table& table);
    // The current cell: the focused row and the column last clicked or moved to.
    std::size_t CurrentRow() const;
    std::size_t CurrentColumn() const { return column_; }
    // The selected rows (all columns) when more than one is selected, else the current cell.
    std::optional<CellRange> Selection() const;
    std::vector<std::size_t> SelectedRows() const;
    void SelectCell(std::size_t row, std::size_t column);
    // Opens the editor on the current cell; `typed` replaces its text.
    void BeginEdit(std::optional<wchar_t> typed = std::nullopt);
    // Commits an open editor.
    void EndEdit(bool commit);
    bool IsEditing() const { return editing_; }
    // A WM_NOTIFY from this table's list; true when handled, with its result.
    bool OnNotify(const NMHDR& header, LRESULT& result);

  private:
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditorMessage(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
    void MoveCurrent(std::size_t column);
    std::wstring CellText(std::size_t row, std::size_t column) const;

    TableId table_;
    CellEvents events_;
    HWND list_ = nullptr;
    HWND edit_ = nullptr;
    HWND combo_ = nullptr;
    HWND tip_ = nullptr;
    std::size_t column_ = 0;
    bool editing_ = false;
    std::size_t editRow_ = 0, editColumn_ = 0;
    int tipRow_ = -1, tipColumn_ = -1;
    std::wstring tipText_;
};

}  // namespace quorvel
