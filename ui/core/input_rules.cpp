#include "ui/core/input_rules.h"

#include <algorithm>
#include <cmath>

#include "calc/lenient_number.h"
#include "calc/number_text.h"

namespace quorvel {
namespace {

std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

bool IsLengthBox(int index) { return index <= 2; }

TextSelection SelectionOnFocusGain(int index, int textLength) {
    return {0, IsLengthBox(index) ? std::max(0, textLength - 2) : textLength};
}

bool ValidationCancels(std::u16string_view text) {
    const float number = ToSingle(ReadLenientNumber(TrimBlanks(text)));
    return !(number > 0.0f);
}

std::optional<std::u16string> TextOnFocusLoss(int index, std::u16string_view text) {
    const double number = ReadLenientNumber(text);
    if (!std::isfinite(number)) return std::nullopt;
    std::u16string shown = FormatNumber(number, 15);
    if (IsLengthBox(index)) shown += u" m";
    return shown;
}

int StandardBoxOf(int checkIndex) { return checkIndex + 4; }

bool StandardBoxEnabled(int checkState) { return checkState == 1; }

}  // namespace quorvel
