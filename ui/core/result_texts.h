#pragma once
// Numbers as the project window's results tables show them.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Shown where a table has no number.
inline constexpr char16_t kNoValue[] = u"—";

// `value` with `decimals` digits after the point (0 to 17).
std::u16string FixedText16(double value, int decimals);
// 4 significant digits; "—" when empty or not finite.
std::u16string SignificantText(const std::optional<double>& value);
// A share (1 = 100 %) as a percent with 2 decimals, without the sign; "—".
std::u16string PercentText(const std::optional<double>& share);
// Metres with 1 decimal, without the unit; "—".
std::u16string MetresText(const std::optional<double>& metres);
// A table's header row.
std::vector<std::u16string> HeaderRow(std::span<const std::u16string_view> names);

}  // namespace quorvel
