#include "calc/project/dxf/dxf_text.h"

#include <optional>

#include "calc/text_codec.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::optional<unsigned> HexNumber(std::string_view digits) {
    unsigned number = 0;
    for (const char c : digits) {
        number *= 16;
        if (c >= '0' && c <= '9') {
            number += static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            number += static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            number += static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
    }
    return number;
}

void AppendCodePoint(std::string& out, unsigned code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += kReplacement;
    } else if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Gbk(std::string_view bytes) {
    const std::optional<std::u16string> text =
        DecodeText(bytes, ByteEncoding::kCodePage936, u"\uFFFD");
    return text ? ToUtf8(*text) : std::string(kReplacement);
}

// Bytes without escapes in the file's encoding, as UTF-8.
std::string Decoded(std::string_view bytes, TextEncoding encoding) {
    if (IsAscii(bytes)) return std::string(bytes);
    switch (encoding) {
        case TextEncoding::Utf8:
            return ToUtf8(FromUtf8(bytes));  // malformed sequences become U+FFFD
        case TextEncoding::CodePage936:
            return Gbk(bytes);
        case TextEncoding::Latin1: {
            std::string out;
            for (const char c : bytes) AppendCodePoint(out, static_cast<unsigned char>(c));
            return out;
        }
    }
    return std::string(bytes);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

TextEncoding EncodingOf(std::string_view version, std::string_view codePage) {
    // AC1021 (2007) and later versions are UTF-8 whatever the code page says.
    if (version.size() == 6 && version.starts_with("AC") && version >= "AC1021") {
        return TextEncoding::Utf8;
    }
    if (StartsWithNoCase(codePage, "ANSI_125") || StartsWithNoCase(codePage, "ISO8859") ||
        StartsWithNoCase(codePage, "DOS437") || StartsWithNoCase(codePage, "DOS850")) {
        return TextEncoding::Latin1;
    }
    return TextEncoding::CodePage936;
}

std::string DecodeValue(std::string_view bytes, TextEncoding encoding) {
    std::string out;
    std::size_t plain = 0;  // the start of the bytes not yet decoded
    const auto flush = [&](std::size_t end) {
        out += Decoded(bytes.substr(plain, end - plain), encoding);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        // The second byte of a GBK character may be a backslash.
        if (encoding == TextEncoding::CodePage936 && static_cast<unsigned char>(bytes[i]) >= 0x81) {
            ++i;
            continue;
        }
        if (bytes[i] != '\\') continue;
        if (bytes[i + 1] == '\\') {  // an escaped backslash stays for the MTEXT reader
            ++i;
            continue;
        }
        const std::string_view rest = bytes.substr(i);
        if (StartsWithNoCase(rest, "\\U+") && rest.size() >= 7) {
            if (const std::optional<unsigned> code = HexNumber(rest.substr(3, 4))) {
                flush(i);
                // Characters beyond the basic plane come as two escapes.
                unsigned value = *code;
                std::size_t length = 7;
                const std::string_view next = rest.substr(7);
                if (value >= 0xD800 && value < 0xDC00 && StartsWithNoCase(next, "\\U+") &&
                    next.size() >= 7) {
                    const std::optional<unsigned> low = HexNumber(next.substr(3, 4));
                    if (low && *low >= 0xDC00 && *low < 0xE000) {
                        value = 0x10000 + ((value - 0xD800) << 10) + (*low - 0xDC00);
                        length = 14;
                    }
                }
                AppendCodePoint(out, value);
                i += length - 1;
                plain = i + 1;
            }
        } else if (StartsWithNoCase(rest, "\\M+") && rest.size() >= 8) {
            const std::optional<unsigned> code = HexNumber(rest.substr(4, 4));
            if (code && rest[3] >= '1' && rest[3] <= '5') {
                flush(i);
                if (rest[3] == '5') {
                    const char pair[2] = {static_cast<char>(*code >> 8),
                                          static_cast<char>(*code & 0xFF)};
                    out += Gbk(std::string_view(pair, 2));
                } else {
                    out += kReplacement;  // Japanese, Chinese (Big5) and Korean code pages
                }
                i += 7;
                plain = i + 1;
            }
        }
    }
    flush(bytes.size());
    return out;
}

std::string PlainText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) != "%%" || i + 2 >= text.size()) {
            out += text[i];
            continue;
        }
        switch (text[i + 2]) {
            case 'd':
            case 'D':
                out += "°";
                break;
            case 'p':
            case 'P':
                out += "±";
                break;
            case 'c':
            case 'C':
                out += "⌀";
                break;
            case '%':
                out += "%";
                break;
            case 'u':
            case 'U':
            case 'o':
            case 'O':
                break;
            default:
                out += text.substr(i, 3);
                break;
        }
        i += 2;
    }
    return out;
}

std::string PlainMText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '{' || c == '}') continue;
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char code = text[++i];
        switch (code) {
            case 'P':
            case 'X':
            case '~':
                out += ' ';
                break;
            case '\\':
            case '{':
            case '}':
                out += code;
                break;
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
                break;
            case 'S': {
                // A stacked fraction up to ';': "a^b", "a/b" or "a#b".
                const std::size_t end = text.find(';', i + 1);
                std::string stacked(text.substr(
                    i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
                for (char& s : stacked) {
                    if (s == '^' || s == '#') s = '/';
                }
                out += stacked;
                i = end == std::string_view::npos ? text.size() : end;
                break;
            }
            default: {
                // Codes with a value up to ';': fonts, heights, widths, colours,
                // tracking, slant, alignment and paragraph settings.
                static constexpr std::string_view kValued = "fFhHwWcCqQtTaApH";
                if (kValued.find(code) != std::string_view::npos) {
                    const std::size_t end = text.find(';', i + 1);
                    i = end == std::string_view::npos ? text.size() : end;
                } else {
                    out += code;
                }
                break;
            }
        }
    }
    // One line: runs of blanks from joined paragraphs become one.
    std::string line;
    for (const char c : out) {
        if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace quorvel::project::dxf
