#include "ui/core/table_clipboard.h"

#include <algorithm>

#include "calc/unicode_text.h"

namespace quorvel {
namespace {

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// Skips the line end at `at` (CR LF, LF or CR).
std::size_t PastLineEnd(std::u16string_view text, std::size_t at) {
    if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') return at + 2;
    return at + 1;
}

// Reads the quoted cell whose opening quote is at `at` into `cell`; returns
// the index after its closing quote, or npos (and leaves `cell`) when the
// quote never closes.
std::size_t ReadQuoted(std::u16string_view text, std::size_t at, std::u16string& cell) {
    std::u16string inside;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] != u'"') {
            inside.push_back(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == u'"') {
            inside.push_back(u'"');
            ++i;
        } else {
            cell = std::move(inside);
            return i + 1;
        }
    }
    return std::u16string_view::npos;
}

bool NeedsQuotes(const std::u16string& cell) {
    return cell.find_first_of(u"\t\r\n\"") != std::u16string::npos;
}

std::u16string Decimal(std::size_t n) { return FromUtf8(std::to_string(n)); }

}  // namespace

CellBlock ParseClipboardText(std::u16string_view text) {
    CellBlock block;
    if (text.empty()) return block;
    std::vector<std::u16string> row;
    std::size_t at = 0;
    while (true) {
        std::u16string cell;
        if (at < text.size() && text[at] == u'"') {
            const std::size_t after = ReadQuoted(text, at, cell);
            if (after != std::u16string_view::npos) {
                at = after;
            } else {
                cell.clear();
            }
        }
        // Plain text up to the next tab or line end: the whole of an unquoted
        // cell, what follows a closing quote, or the text of an unclosed one.
        while (at < text.size() && text[at] != u'\t' && !IsLineEnd(text[at])) {
            cell.push_back(text[at++]);
        }
        row.push_back(std::move(cell));
        if (at >= text.size()) {
            block.push_back(std::move(row));
            break;
        }
        if (text[at] == u'\t') {
            ++at;
            continue;
        }
        at = PastLineEnd(text, at);
        block.push_back(std::move(row));
        row.clear();
        if (at >= text.size()) break;  // the line end after the last row
    }
    return block;
}

std::u16string ClipboardText(const CellBlock& block) {
    std::u16string text;
    for (const std::vector<std::u16string>& row : block) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) text.push_back(u'\t');
            if (!NeedsQuotes(row[i])) {
                text += row[i];
                continue;
            }
            text.push_back(u'"');
            for (const char16_t c : row[i]) {
                if (c == u'"') text.push_back(u'"');
                text.push_back(c);
            }
            text.push_back(u'"');
        }
        text += u"\r\n";
    }
    return text;
}

PasteOutcome PasteIntoTable(Table& table, std::size_t row, std::size_t column,
                            std::u16string_view text) {
    PasteOutcome outcome;
    const std::size_t columns = TableColumns(table.id).size();
    const CellBlock block = ParseClipboardText(text);
    if (column >= columns || block.empty()) return outcome;
    row = std::min(row, table.rows.size());
    outcome.firstRow = row;
    outcome.rowCount = block.size();
    outcome.firstColumn = column;
    const std::size_t room = columns - column;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const std::vector<std::u16string>& cells = block[r];
        if (row + r >= table.rows.size()) {
            table.rows.push_back(EmptyRow(table.id));
            ++outcome.rowsAdded;
        }
        TableRow& target = table.rows[row + r];
        target.cells.resize(std::max(target.cells.size(), columns));
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c < room) {
                target.cells[column + c] = cells[c];
                outcome.columnCount = std::max(outcome.columnCount, c + 1);
            } else {
                outcome.columnsCut = std::max(outcome.columnsCut, cells.size() - room);
                if (!cells[c].empty()) ++outcome.cellsCut;
            }
        }
    }
    return outcome;
}

std::u16string CopyFromTable(const Table& table, std::size_t firstRow, std::size_t rowCount,
                             std::size_t firstColumn, std::size_t columnCount) {
    const std::size_t columns = TableColumns(table.id).size();
    const std::size_t rows = table.rows.size();
    const std::size_t lastRow =
        firstRow >= rows ? firstRow : firstRow + std::min(rowCount, rows - firstRow);
    const std::size_t lastColumn = firstColumn >= columns
                                       ? firstColumn
                                       : firstColumn + std::min(columnCount, columns - firstColumn);
    CellBlock block;
    for (std::size_t r = firstRow; r < lastRow; ++r) {
        std::vector<std::u16string> cells;
        for (std::size_t c = firstColumn; c < lastColumn; ++c) {
            const std::vector<std::u16string>& row = table.rows[r].cells;
            cells.push_back(c < row.size() ? row[c] : std::u16string());
        }
        block.push_back(std::move(cells));
    }
    return ClipboardText(block);
}

std::u16string PasteCutText(const PasteOutcome& outcome) {
    if (outcome.columnsCut == 0) return {};
    return u"粘贴的内容超出表格的列，右侧 " + Decimal(outcome.columnsCut) + u" 列（" +
           Decimal(outcome.cellsCut) + u" 个单元格）未粘贴。";
}

}  // namespace quorvel
