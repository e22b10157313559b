#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

// Extracts from the screening model's report text the discrete-distance rows
// (each prefixed with its table's terrain height, single blanks between
// fields) and the summary rows (four trimmed fields cut from fixed columns,
// joined by ","). Index 0 of each list is row 1. At entry both counts are set
// to 0 and both lists emptied. On failure returns false and sets errorText
// (which is left alone on success); the lists then hold what had been
// gathered. Never throws.
bool ParseScreenReport(const std::u16string& reportText, std::int16_t& rowCount,
                       std::int16_t& summaryCount, std::vector<std::u16string>& rows,
                       std::vector<std::u16string>& summaryRows, std::u16string& errorText);

}  // namespace quorvel
