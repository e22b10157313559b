#pragma once
// Numbers as a table cell holds them: the text the user typed, read strictly
// so that a cell either is a number or is marked, never half read.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The number a cell's text stands for: blanks (spaces, tabs, the ideographic
// space) around it are ignored; then an optional sign, digits with at most
// one ".", and an optional exponent (e or E, optional sign, digits). Anything
// else (letters, units, thousands separators, "inf", "nan", hex), a
// magnitude beyond the double range or one so small that it cannot be told
// from 0 gives nullopt; so does an empty text.
std::optional<double> ReadCellNumber(std::u16string_view text);

// True when the text holds nothing but blanks.
bool IsBlankText(std::u16string_view text);

// The shortest decimal text that reads back as exactly `value`
// ("5", "0.12", "1e+21").
std::u16string CellNumberText(double value);

}  // namespace quorvel
