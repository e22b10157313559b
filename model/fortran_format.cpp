#include "model/fortran_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

std::string PadLeft(const std::string& text, int width) {
    const auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) return text;
    return std::string(w - text.size(), ' ') + text;
}

std::string FormatFixed(double value, int width, int decimals) {
    char buffer[64];
    // Adding 0.0 turns a negative zero into zero, so no "-0." appears.
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value + 0.0);
    std::string text = buffer;
    if (text == "-0" || text.rfind("-0.", 0) == 0) {
        if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    }
    if (decimals == 0) text += '.';
    return PadLeft(text, width);
}

std::string FormatInteger(long value, int width) { return PadLeft(std::to_string(value), width); }

std::string FormatG11_4(double value) {
    constexpr int kDigits = 4;
    if (value == 0.0) return FormatFixed(0.0, 7, kDigits - 1) + "    ";
    // Round to four significant digits first: that decides which form is used.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kDigits - 1, value);
    const std::string scientific = buffer;  // e.g. -1.259e+02
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1) + 1;  // for 0.dddd form
    if (exponent >= 0 && exponent <= kDigits) {
        return FormatFixed(value, 7, kDigits - exponent) + "    ";
    }
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (scientific[i] >= '0' && scientific[i] <= '9') digits += scientific[i];
    }
    const int magnitude = std::abs(exponent);
    char exponent_text[16];
    if (magnitude < 100) {
        std::snprintf(exponent_text, sizeof exponent_text, "E%c%02d", exponent < 0 ? '-' : '+',
                      magnitude);
    } else {
        std::snprintf(exponent_text, sizeof exponent_text, "%c%03d", exponent < 0 ? '-' : '+',
                      magnitude);
    }
    return PadLeft((value < 0 ? "-0." : "0.") + digits + exponent_text, 11);
}

}  // namespace quorvel
