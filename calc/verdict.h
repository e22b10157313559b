#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/result.h"

namespace quorvel {

// What a verdict says: its text and, when it names one, the buffer distance.
struct Verdict {
    std::u16string text;                  // as the result box shows it; lines end in CR LF
    std::optional<float> bufferDistance;  // m from the centre of the source
};

// The verdict from the discrete-distance rows, the summary rows and the
// comparison standard S (ug/m^3): the first discrete distance beyond the
// farthest one that reaches S; "> 5000 m" when the last one does; otherwise
// the distance of the largest summary maximum rounded up to the next 10 m
// (up to 100 m) or 50 m step, or "无超标点" when that maximum stays below S.
// An error text when S is not above 0 or a row lacks a field that is read.
Result<Verdict> DecideVerdict(const std::vector<std::u16string>& rows,
                              const std::vector<std::u16string>& summaryRows,
                              float comparisonStandard);

// The text of DecideVerdict's verdict, or its error text.
Result<std::u16string> FormVerdict(const std::vector<std::u16string>& rows,
                                   const std::vector<std::u16string>& summaryRows,
                                   float comparisonStandard);

// Whether the verdict says the standard is still reached at the last
// distance, 5000 m, so the source must be cut and computed again.
bool IsBeyondRange(const Verdict& verdict);
// Whether the verdict says the standard is reached nowhere ("无超标点").
bool IsNoExceedance(const Verdict& verdict);

// A distance as the verdict writes it: plain digits for a whole value,
// otherwise at most 7 significant digits.
std::u16string DistanceText(float x);

}  // namespace quorvel
