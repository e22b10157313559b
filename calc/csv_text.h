#pragma once
// The rows of CSV text as spreadsheets save it: cells separated by commas,
// quoted cells may hold commas, quotes ("") and line breaks.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One row of CSV text and the line (from 1) it starts on.
struct CsvLine {
    std::size_t line = 0;
    std::vector<std::u16string> cells;
};

// The rows of `text`; rows whose cells are all blank (spaces, tabs,
// ideographic and no-break spaces) are left out.
std::vector<CsvLine> ParseCsv(std::u16string_view text);

}  // namespace quorvel
