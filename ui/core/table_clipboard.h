#pragma once
// Blocks of cells on the clipboard as spreadsheets write them: cells
// separated by tabs, each row ended by CR LF, a cell holding a tab, a line
// break or a quote enclosed in quotes with its quotes doubled. A block copied
// here pastes into spreadsheets and word processors, and one copied there
// pastes here.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/project_tables.h"

namespace quorvel {

using CellBlock = std::vector<std::vector<std::u16string>>;  // rows of cells

// The cells of clipboard text. Rows end at CR LF, LF or a lone CR; the line
// end after the last row is not a row of its own. A cell that starts with a
// quote runs to its closing quote (tabs and line breaks inside belong to the
// cell, "" is one quote); text after the closing quote is kept as written,
// and a cell whose quote never closes is taken literally. Rows may have
// different numbers of cells. Empty text gives no rows.
CellBlock ParseClipboardText(std::u16string_view text);

// The clipboard text of `block`: cells joined by tabs, every row ended by
// CR LF, a cell with a tab, CR, LF or quote enclosed in quotes.
std::u16string ClipboardText(const CellBlock& block);

struct PasteOutcome {
    std::size_t firstRow = 0;     // the rows pasted into, from 0 ...
    std::size_t rowCount = 0;     // ... and how many
    std::size_t firstColumn = 0;  // the columns pasted into ...
    std::size_t columnCount = 0;  // ... and how many
    std::size_t rowsAdded = 0;    // rows appended to the table to hold the block
    std::size_t columnsCut = 0;   // columns of the block right of the table's last column
    std::size_t cellsCut = 0;     // non-empty cells among them: not pasted
};

// Pastes clipboard `text` with its top-left cell at `row`, `column` (row up
// to rows.size(), column below the table's column count), replacing the
// cells it covers and appending rows as needed. Cells past the last column
// are not pasted; the outcome counts them so that the window can say so.
// Nothing is pasted when `column` is outside the table or the text is empty.
PasteOutcome PasteIntoTable(Table& table, std::size_t row, std::size_t column,
                            std::u16string_view text);

// The cells of rows [firstRow, firstRow + rowCount) and columns
// [firstColumn, firstColumn + columnCount), clipped to the table, as
// clipboard text.
std::u16string CopyFromTable(const Table& table, std::size_t firstRow, std::size_t rowCount,
                             std::size_t firstColumn, std::size_t columnCount);

// The window's note after a paste that cut columns: "粘贴的内容超出表格的列，
// 右侧 2 列（5 个单元格）未粘贴。"; empty when nothing was cut.
std::u16string PasteCutText(const PasteOutcome& outcome);

}  // namespace quorvel
