#include "calc/code_page.h"

#include <new>

#include "calc/text_codec.h"

namespace quorvel {
namespace {

const std::u16string kNoConverter = u"代码页936(GBK)文字转换失败!";
const std::u16string kNotEncodable = u"文字中含有代码页936(GBK)无法表示的字符!";
const std::u16string kOutOfMemory = u"内存不足，无法转换文字!";

}  // namespace

Result<std::u16string> DecodeCodePage936(std::string_view bytes) {
    try {
        std::optional<std::u16string> text =
            DecodeText(bytes, ByteEncoding::kCodePage936, u"\uFFFD");
        if (!text) return Fail(kNoConverter);
        return std::move(*text);
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

Result<std::string> EncodeCodePage936(std::u16string_view text) {
    try {
        std::optional<std::string> bytes = EncodeText(text, ByteEncoding::kCodePage936, {});
        if (!bytes) return Fail(kNotEncodable);
        return std::move(*bytes);
    } catch (const std::bad_alloc&) {
        return Fail(kOutOfMemory);
    }
}

}  // namespace quorvel
