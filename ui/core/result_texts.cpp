#include "ui/core/result_texts.h"

#include <cmath>

#include "calc/project/files/shortest_number.h"
#include "calc/sheet/markup.h"
#include "calc/unicode_text.h"

namespace quorvel {

std::u16string FixedText16(double value, int decimals) {
    return FromUtf8(FixedText(value, decimals));
}

std::u16string SignificantText(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) return kNoValue;
    return FromUtf8(project::RoundedNumber(*value, 4));
}

std::u16string PercentText(const std::optional<double>& share) {
    if (!share || !std::isfinite(*share)) return kNoValue;
    return FixedText16(*share * 100.0, 2);
}

std::u16string MetresText(const std::optional<double>& metres) {
    if (!metres || !std::isfinite(*metres)) return kNoValue;
    return FixedText16(*metres, 1);
}

std::vector<std::u16string> HeaderRow(std::span<const std::u16string_view> names) {
    return {names.begin(), names.end()};
}

}  // namespace quorvel
