#pragma once
// Small pieces of reading a field file's text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::project {

// "第 12 行": a line of the file (from 1) in a message.
std::u16string LineLabel(std::size_t line);

// The number a token spells (decimal, optional sign and exponent), when it
// is one and finite.
std::optional<double> FiniteNumber(std::string_view token);

// The tokens of `line` separated by spaces, tabs and carriage returns.
std::vector<std::string_view> Tokens(std::string_view line);

// The lines of `bytes` split at line feeds, each with its number (from 1).
struct TextLine {
    std::size_t number = 0;
    std::string_view text;
};
std::vector<TextLine> Lines(std::string_view bytes);

// A token in a message: UTF-8 quoted, shortened to 40 bytes.
std::u16string QuotedToken(std::string_view token);

}  // namespace quorvel::project
