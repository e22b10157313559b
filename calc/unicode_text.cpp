#include "calc/unicode_text.h"

#include "calc/text_codec.h"

namespace quorvel {

// Malformed input becomes U+FFFD, one for each code unit that cannot be read.
std::string ToUtf8(std::u16string_view text) {
    return EncodeText(text, ByteEncoding::kUtf8, "\xEF\xBF\xBD").value_or(std::string());
}

std::u16string FromUtf8(std::string_view bytes) {
    return DecodeText(bytes, ByteEncoding::kUtf8, u"\uFFFD").value_or(std::u16string());
}

// Through UTF-8 explicitly: a narrow path text is in the system code page on
// Windows, not UTF-8.
std::u16string PathText(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::filesystem::path PathFromText(std::u16string_view text) {
    const std::string utf8 = ToUtf8(text);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace quorvel
