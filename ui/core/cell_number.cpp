#include "ui/core/cell_number.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\u00A0'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// True when `text` is [sign] digits [. digits] [e [sign] digits], with at
// least one digit in the mantissa.
bool IsPlainNumber(std::u16string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
    std::size_t digits = 0;
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    if (at < text.size() && text[at] == u'.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
    }
    if (digits == 0) return false;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
        std::size_t exponentDigits = 0;
        while (at < text.size() && IsDigit(text[at])) ++at, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return at == text.size();
}

}  // namespace

bool IsBlankText(std::u16string_view text) { return Trimmed(text).empty(); }

std::optional<double> ReadCellNumber(std::u16string_view text) {
    text = Trimmed(text);
    if (!IsPlainNumber(text)) return std::nullopt;
    // Only ASCII is left, so the narrowing below keeps every character.
    std::string ascii;
    ascii.reserve(text.size());
    for (const char16_t c : text) ascii.push_back(static_cast<char>(c));
    const char* first = ascii.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::u16string CellNumberText(double value) { return FromUtf8(project::ShortestNumber(value)); }

}  // namespace quorvel
