#include "calc/csv_text.h"

#include <algorithm>

namespace quorvel {
namespace {

bool IsBlank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\u00A0';
    });
}

}  // namespace

std::vector<CsvLine> ParseCsv(std::u16string_view text) {
    std::vector<CsvLine> lines;
    std::size_t line = 1;
    std::size_t at = 0;
    while (at < text.size()) {
        CsvLine row{line, {}};
        bool endOfRow = false;
        while (!endOfRow) {
            std::u16string cell;
            if (at < text.size() && text[at] == u'"') {
                ++at;
                while (at < text.size()) {
                    if (text[at] == u'"') {
                        if (at + 1 < text.size() && text[at + 1] == u'"') {
                            cell.push_back(u'"');
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (text[at] == u'\n') ++line;
                    cell.push_back(text[at++]);
                }
            }
            while (at < text.size() && text[at] != u',' && text[at] != u'\r' && text[at] != u'\n') {
                cell.push_back(text[at++]);
            }
            row.cells.push_back(std::move(cell));
            if (at < text.size() && text[at] == u',') {
                ++at;
                continue;
            }
            if (at < text.size() && text[at] == u'\r') ++at;
            if (at < text.size() && text[at] == u'\n') ++at;
            ++line;
            endOfRow = true;
        }
        const bool blank = std::all_of(row.cells.begin(), row.cells.end(),
                                       [](const std::u16string& c) { return IsBlank(c); });
        if (!blank) lines.push_back(std::move(row));
    }
    return lines;
}

}  // namespace quorvel
