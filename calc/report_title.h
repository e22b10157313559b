#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The model's title line from the head of its report: the first of its first
// 10 lines that,
// without its blanks at either end, starts and ends with "***" and holds
// some text between them. Returned without the stars and the blanks around
// them, at most 200 characters; empty when the report has no such line.
std::u16string ModelTitleLine(std::u16string_view reportText);

}  // namespace quorvel
