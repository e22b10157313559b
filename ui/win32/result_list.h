#pragma once
// The results' report lists: filled from a block of cells, and what Ctrl+C
// copies from one.

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "ui/core/table_clipboard.h"

namespace quorvel {

// Replaces the list's columns by `headers` and its rows by `rows` (cells
// beyond the headers are left out; line breaks show as spaces), each column
// as wide as its widest text.
void FillList(HWND list, std::span<const std::u16string_view> headers, const CellBlock& rows);

// The rows of a results block below its header row.
CellBlock Body(CellBlock block);

// What Ctrl+C in `list` copies of `block` (its header row, then a row per
// list row): the header and the selected rows, or the whole block when
// none is selected.
CellBlock SelectedRows(HWND list, const CellBlock& block);

}  // namespace quorvel
