#pragma once
// Conversion between UTF-16 text and the byte encodings the program reads and
// writes, done by the platform: iconv on Linux, the Win32 code page functions
// on Windows. Both behave the same on every input.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

enum class ByteEncoding {
    kCodePage936,  // GBK, the Chinese Windows system code page
    kUtf8,
};

// Bytes to UTF-16. An undecodable or incomplete sequence becomes
// `replacement` and reading goes on at the next byte. nullopt when the
// platform cannot convert the encoding at all.
std::optional<std::u16string> DecodeText(std::string_view bytes, ByteEncoding encoding,
                                         std::u16string_view replacement);

// UTF-16 to bytes. A character (or lone surrogate) without a code in the
// encoding becomes `replacement`, or makes the conversion fail (nullopt) when
// `replacement` is empty.
std::optional<std::string> EncodeText(std::u16string_view text, ByteEncoding encoding,
                                      std::string_view replacement);

}  // namespace quorvel
