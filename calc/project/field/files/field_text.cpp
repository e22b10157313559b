#include "calc/project/field/files/field_text.h"

#include <charconv>
#include <cmath>

#include "calc/unicode_text.h"

namespace quorvel::project {

std::u16string LineLabel(std::size_t line) {
    return u"第 " + FromUtf8(std::to_string(line)) + u" 行";
}

std::optional<double> FiniteNumber(std::string_view token) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.front() == '+') return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (at < line.size()) {
        while (at < line.size() && blank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !blank(line[at])) ++at;
        if (at > start) tokens.push_back(line.substr(start, at - start));
    }
    return tokens;
}

std::vector<TextLine> Lines(std::string_view bytes) {
    std::vector<TextLine> lines;
    std::size_t number = 1;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        lines.push_back({number++, bytes.substr(0, end)});
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

std::u16string QuotedToken(std::string_view token) {
    constexpr std::size_t kLongest = 40;
    const bool cut = token.size() > kLongest;
    return u"“" + FromUtf8(token.substr(0, kLongest)) + (cut ? u"…" : u"") + u"”";
}

}  // namespace quorvel::project
