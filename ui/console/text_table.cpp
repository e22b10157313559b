#include "ui/console/text_table.h"

#include <algorithm>

#include "calc/unicode_text.h"

namespace quorvel {
namespace {

// Columns a terminal gives the text: two for East Asian wide characters.
std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (char16_t unit : FromUtf8(utf8)) {
        if (unit >= 0xDC00 && unit < 0xE000) continue;  // second half of a pair
        width += (unit >= 0x1100 && (unit < 0x2000 || unit >= 0x2E80) && unit < 0xD800) ||
                         (unit >= 0xF900 && unit < 0xFB00) || (unit >= 0xFF00 && unit < 0xFF61)
                     ? 2
                     : 1;
    }
    return width;
}

std::string Padded(const std::string& text, std::size_t width) {
    const std::size_t shown = DisplayWidth(text);
    return text + std::string(shown < width ? width - shown : 0, ' ');
}

}  // namespace

std::string TextTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += c + 1 < row.size() ? Padded(row[c], widths[c] + 2) : row[c];
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace quorvel
