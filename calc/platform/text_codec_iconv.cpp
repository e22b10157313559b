// Text conversion through iconv.
#include "calc/platform/iconv_converter.h"
#include "calc/text_codec.h"

namespace quorvel {
namespace {

const char* IconvName(ByteEncoding encoding) {
    return encoding == ByteEncoding::kCodePage936 ? "CP936" : "UTF-8";
}

}  // namespace

std::optional<std::u16string> DecodeText(std::string_view bytes, ByteEncoding encoding,
                                         std::u16string_view replacement) {
    IconvConverter converter("UTF-16LE", IconvName(encoding));
    std::string utf16;
    if (!converter.Convert(bytes, ToUtf16LeBytes(replacement), 1, utf16)) return std::nullopt;
    return FromUtf16LeBytes(utf16);
}

std::optional<std::string> EncodeText(std::u16string_view text, ByteEncoding encoding,
                                      std::string_view replacement) {
    IconvConverter converter(IconvName(encoding), "UTF-16LE");
    std::string bytes;
    if (!converter.Convert(ToUtf16LeBytes(text), replacement, 2, bytes)) return std::nullopt;
    return bytes;
}

}  // namespace quorvel
