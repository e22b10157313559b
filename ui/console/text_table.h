#pragma once

#include <string>
#include <vector>

namespace quorvel {

// Rows of UTF-8 cells as lines with their columns lined up for a terminal,
// two spaces apart (East Asian wide characters take two columns).
std::string TextTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace quorvel
