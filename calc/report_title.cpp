#include "calc/report_title.h"

namespace quorvel {
namespace {

std::u16string_view Trimmed(std::u16string_view text, std::u16string_view characters) {
    const std::size_t first = text.find_first_not_of(characters);
    if (first == std::u16string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(characters);
    return text.substr(first, last - first + 1);
}

}  // namespace

std::u16string ModelTitleLine(std::u16string_view reportText) {
    constexpr std::size_t kLongest = 200;
    constexpr int kHeadLines = 10;
    std::size_t start = 0;
    for (int line = 0; line < kHeadLines && start < reportText.size(); ++line) {
        std::size_t end = reportText.find(u'\n', start);
        if (end == std::u16string_view::npos) end = reportText.size();
        const std::u16string_view text = Trimmed(reportText.substr(start, end - start), u" \r\t");
        if (text.size() > 6 && text.starts_with(u"***") && text.ends_with(u"***")) {
            const std::u16string_view title = Trimmed(text, u"* ");
            if (!title.empty()) return std::u16string(title.substr(0, kLongest));
        }
        start = end + 1;
    }
    return {};
}

}  // namespace quorvel
