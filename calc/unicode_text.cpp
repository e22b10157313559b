#include "calc/unicode_text.h"

#include "calc/iconv_converter.h"

namespace quorvel {

// Malformed input becomes U+FFFD, one for each code unit that cannot be read.
std::string ToUtf8(std::u16string_view text) {
    IconvConverter converter("UTF-8", "UTF-16LE");
    std::string out;
    converter.Convert(ToUtf16LeBytes(text), "\xEF\xBF\xBD", 2, out);
    return out;
}

std::u16string FromUtf8(std::string_view bytes) {
    IconvConverter converter("UTF-16LE", "UTF-8");
    std::string utf16;
    converter.Convert(bytes, std::string_view("\xFD\xFF", 2), 1, utf16);
    return FromUtf16LeBytes(utf16);
}

std::u16string PathText(const std::filesystem::path& path) { return FromUtf8(path.native()); }

std::filesystem::path PathFromText(std::u16string_view text) {
    return std::filesystem::path(ToUtf8(text));
}

}  // namespace quorvel
