#include "calc/sheet/markup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "calc/number_text.h"
#include "calc/unicode_text.h"

namespace quorvel {

std::string Escaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                // Control characters other than tab and line ends have no
                // place in a document; they become the replacement character.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += "\xEF\xBF\xBD";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string Escaped(std::u16string_view text) {
    std::u16string characters(text);
    // Nor have the two noncharacters at the end of the basic plane.
    std::replace_if(
        characters.begin(), characters.end(), [](char16_t c) { return c >= u'\uFFFE'; }, u'\uFFFD');
    return Escaped(ToUtf8(characters));
}

std::string NumberText(double value) { return ToUtf8(FormatNumber(value, 7)); }

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return NumberText(value);
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, std::clamp(decimals, 0, 6));
    std::string text(buffer.data(), written.ptr);
    // A value that rounds to zero is shown without a sign.
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

}  // namespace quorvel
