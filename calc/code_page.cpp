#include "calc/code_page.h"

#include <new>

#include "calc/iconv_converter.h"

namespace quorvel {
namespace {

const std::u16string kNoConverter = u"代码页936(GBK)文字转换失败!";
const std::u16string kNotEncodable = u"文字中含有代码页936(GBK)无法表示的字符!";
const std::u16string kOutOfMemory = u"内存不足，无法转换文字!";

}  // namespace

Result<std::u16string> DecodeCodePage936(std::string_view bytes) {
    try {
        IconvConverter converter("UTF-16LE", "CP936");
        if (!converter.valid()) return Fail(kNoConverter);
        std::string utf16;
        if (!converter.Convert(bytes, std::string_view("\xFD\xFF", 2), 1, utf16)) {
            return Fail(kNoConverter);
        }
        return FromUtf16LeBytes(utf16);
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

Result<std::string> EncodeCodePage936(std::u16string_view text) {
    try {
        IconvConverter converter("CP936", "UTF-16LE");
        if (!converter.valid()) return Fail(kNoConverter);
        std::string bytes;
        if (!converter.Convert(ToUtf16LeBytes(text), {}, 2, bytes)) return Fail(kNotEncodable);
        return bytes;
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

}  // namespace quorvel
