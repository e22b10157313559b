#include "calc/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quorvel {
namespace {

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

std::u16string FormatNumber(double value, int maxSignificantDigits) {
    if (std::isnan(value)) return u"nan";
    if (std::isinf(value)) return value > 0 ? u"inf" : u"-inf";
    if (value == 0.0) return u"0";
    const int precision = std::clamp(maxSignificantDigits, 1, 17);

    // Round to the allowed digits once; the scientific text gives the digits
    // and the decimal exponent of the rounded value.
    std::array<char, 64> buffer{};
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, precision - 1);
    const std::string scientific(buffer.data(), written.ptr);
    const std::size_t exponentAt = scientific.find('e');
    std::string digits;
    for (std::size_t i = 0; i < exponentAt; ++i) {
        if (scientific[i] != '.') digits.push_back(scientific[i]);
    }
    const int exponent = std::atoi(scientific.c_str() + exponentAt + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int significant = static_cast<int>(digits.size());

    std::string text = value < 0 ? "-" : "";
    if (exponent >= precision || (exponent < 0 && -exponent - 1 + significant > precision)) {
        text += digits.substr(0, 1);
        if (significant > 1) text += "." + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) text += "0";
        text += std::to_string(magnitude);
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            text += digits + std::string(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole) + "." + digits.substr(whole);
        }
    }
    return Widen(text);
}

}  // namespace quorvel
