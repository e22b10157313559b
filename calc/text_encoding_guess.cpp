#include "calc/text_encoding_guess.h"

#include <cstdint>
#include <new>

#include "calc/code_page.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

bool InRange(unsigned value, unsigned low, unsigned high) { return value >= low && value <= high; }

std::u16string LineText(std::string_view bytes, std::size_t at) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < at; ++i) line += bytes[i] == '\n' ? 1 : 0;
    return FromUtf8(std::to_string(line));
}

void AppendCodePoint(std::u16string& text, std::uint32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const unsigned lead = Byte(bytes, at);
        std::size_t length = 0;
        unsigned low = 0x80;  // the allowed range of the second byte
        unsigned high = 0xBF;
        if (lead < 0x80) {
            ++at;
            continue;
        } else if (InRange(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (InRange(lead, 0xE0, 0xEF)) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (InRange(lead, 0xF0, 0xF4)) {
            length = 4;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
        } else {
            return false;
        }
        if (at + length > bytes.size()) return false;
        if (!InRange(Byte(bytes, at + 1), low, high)) return false;
        for (std::size_t i = 2; i < length; ++i) {
            if (!InRange(Byte(bytes, at + i), 0x80, 0xBF)) return false;
        }
        at += length;
    }
    return true;
}

Result<std::u16string> DecodeUtf8OrGb18030(std::string_view bytes) {
    try {
        if (IsValidUtf8(bytes)) {
            if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
            return FromUtf8(bytes);
        }
        std::u16string text;
        std::size_t runStart = 0;  // the one- and two-byte codes not yet decoded
        const auto flush = [&](std::size_t end) -> Status {
            if (end == runStart) return {};
            Result<std::u16string> decoded =
                DecodeCodePage936(bytes.substr(runStart, end - runStart));
            if (!decoded) return Fail(decoded.error());
            if (decoded.value().find(u'\uFFFD') != std::u16string::npos) {
                return Fail(u"文件第 " + LineText(bytes, runStart) +
                            u" 行含有无法识别的字符：文件既不是 UTF-8 也不是 GB18030 编码");
            }
            text += decoded.value();
            return {};
        };
        std::size_t at = 0;
        while (at < bytes.size()) {
            const unsigned lead = Byte(bytes, at);
            if (lead < 0x80) {
                ++at;
                continue;
            }
            const bool leadOk = InRange(lead, 0x81, 0xFE);
            if (leadOk && at + 1 < bytes.size()) {
                const unsigned second = Byte(bytes, at + 1);
                if (InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFE)) {
                    at += 2;
                    continue;
                }
                if (InRange(second, 0x30, 0x39) && at + 3 < bytes.size() &&
                    InRange(Byte(bytes, at + 2), 0x81, 0xFE) &&
                    InRange(Byte(bytes, at + 3), 0x30, 0x39)) {
                    const std::uint32_t linear = (((lead - 0x81) * 10 + (second - 0x30)) * 126 +
                                                  (Byte(bytes, at + 2) - 0x81)) *
                                                     10 +
                                                 (Byte(bytes, at + 3) - 0x30);
                    // Four-byte codes from 90 30 81 30 on are U+10000 onwards.
                    constexpr std::uint32_t kFirstSupplementary = ((0x90 - 0x81) * 10) * 126 * 10;
                    const std::uint32_t code = linear - kFirstSupplementary + 0x10000;
                    if (linear < kFirstSupplementary) {
                        return Fail(u"文件第 " + LineText(bytes, at) +
                                    u" 行含有本程序无法读取的 GB18030 四字节字符；"
                                    u"请将文件另存为 UTF-8 编码的 CSV 后再导入");
                    }
                    if (code > 0x10FFFF) break;
                    if (Status done = flush(at); !done) return Fail(done.error());
                    AppendCodePoint(text, code);
                    at += 4;
                    runStart = at;
                    continue;
                }
            }
            return Fail(u"文件第 " + LineText(bytes, at) +
                        u" 行含有无法识别的字符：文件既不是 UTF-8 也不是 GB18030 编码");
        }
        if (at < bytes.size()) {
            return Fail(u"文件第 " + LineText(bytes, at) +
                        u" 行含有无法识别的字符：文件既不是 UTF-8 也不是 GB18030 编码");
        }
        if (Status done = flush(bytes.size()); !done) return Fail(done.error());
        return text;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取文件!");
    }
}

}  // namespace quorvel
