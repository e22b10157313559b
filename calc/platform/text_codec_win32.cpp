// Text conversion through the Win32 code page functions.
#include <windows.h>

#include <climits>

#include "calc/text_codec.h"

namespace quorvel {
namespace {

// The longest byte sequence of one character in either encoding.
constexpr std::size_t kMaxSequence = 4;

UINT CodePageOf(ByteEncoding encoding) {
    return encoding == ByteEncoding::kCodePage936 ? 936u : CP_UTF8;
}

const wchar_t* Wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// Strict conversions of a whole piece: nullopt when any part of it is invalid.
std::optional<std::u16string> DecodeStrict(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return std::u16string();
    if (bytes.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

std::optional<std::string> EncodeStrict(std::u16string_view text, UINT codePage) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(text.size());
    // UTF-8 reports a lone surrogate as an error; code page 936 through the
    // default-character flag, with best-fit mappings off.
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length =
        WideCharToMultiByte(codePage, flags, Wide(text), size, nullptr, 0, nullptr, usedDefaultOut);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, Wide(text), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::optional<std::u16string> DecodeText(std::string_view bytes, ByteEncoding encoding,
                                         std::u16string_view replacement) {
    const UINT codePage = CodePageOf(encoding);
    if (auto whole = DecodeStrict(bytes, codePage)) return whole;
    // Some sequence is invalid: take one character at a time, the shortest
    // sequence that decodes, and replace a byte that starts none.
    std::u16string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t length = 1;
        std::optional<std::u16string> decoded;
        for (; length <= kMaxSequence && at + length <= bytes.size(); ++length) {
            decoded = DecodeStrict(bytes.substr(at, length), codePage);
            if (decoded) break;
        }
        if (decoded) {
            text += *decoded;
            at += length;
        } else {
            text += replacement;
            ++at;
        }
    }
    return text;
}

std::optional<std::string> EncodeText(std::u16string_view text, ByteEncoding encoding,
                                      std::string_view replacement) {
    const UINT codePage = CodePageOf(encoding);
    if (auto whole = EncodeStrict(text, codePage)) return whole;
    if (replacement.empty()) return std::nullopt;
    // Some character has no code: take one character (a surrogate pair
    // counts as one) at a time and replace those without.
    std::string bytes;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length =
            at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]) ? 2
                                                                                              : 1;
        const std::optional<std::string> encoded = EncodeStrict(text.substr(at, length), codePage);
        bytes += encoded ? *encoded : std::string(replacement);
        at += length;
    }
    return bytes;
}

}  // namespace quorvel
