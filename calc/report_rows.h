#pragma once
// Reading the fields of the report reader's rows, and the two searches over
// them that the verdict and the calculation sheet share.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/result.h"

namespace quorvel {

// Fields of a discrete-distance row, split at single blanks and counted from 0.
inline constexpr std::size_t kTerrainField = 0;
inline constexpr std::size_t kDistanceField = 1;       // receptor distance, m
inline constexpr std::size_t kConcentrationField = 2;  // ug/m^3
inline constexpr std::size_t kStabilityField = 3;      // class 1 (A) to 6 (F)
inline constexpr std::size_t kWindSpeedField = 4;      // wind speed at 10 m, m/s
inline constexpr std::size_t kDirectionField = 8;      // worst wind angle to the larger side, deg

// Fields of a summary row, split at ",".
inline constexpr std::size_t kSummaryMaximumField = 1;   // ug/m^3
inline constexpr std::size_t kSummaryDistanceField = 2;  // m

// Field `index` (from 0) of `row` split at every `separator`, or nullopt when
// the row has fewer fields.
std::optional<std::u16string_view> RowField(std::u16string_view row, char16_t separator,
                                            std::size_t index);

// The start of an error text about the report's content.
inline constexpr char16_t kReportFormatError[] = u"报告文件格式错误: ";

// A report row for an error text: a row can be as long as its report line,
// and a message box must stay readable, so a long row is cut.
std::u16string ShownRow(std::u16string_view row);

// The number (1 to rows.size()) of the farthest discrete-distance row whose
// concentration divided by `standard` (ug/m^3, above 0) is at least `share`
// (1 for the standard itself, 0.1 for a tenth of it), searched from the last
// row backwards in double precision; 0 when no row reaches it. An error text
// when a row passed on the way lacks its concentration.
Result<std::size_t> FarthestRowReaching(const std::vector<std::u16string>& rows, double standard,
                                        double share);

// The largest maximum concentration of the summary rows, in single precision.
struct SummaryMaximum {
    std::size_t row = 0;         // 1 to summaryRows.size(); 0 when no row holds a value above 0
    float concentration = 0.0f;  // ug/m^3
};

// Only a strictly greater value replaces the one found so far, so of equal
// maxima the first row wins. An error text when a row lacks its maximum.
Result<SummaryMaximum> LargestSummaryMaximum(const std::vector<std::u16string>& summaryRows);

}  // namespace quorvel
