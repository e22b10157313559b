#pragma once
// The texts of a DXF file: their bytes in the drawing's encoding, the
// escapes CAD programs write for characters the encoding lacks, and the
// formatting codes of TEXT and MTEXT.

#include <string>
#include <string_view>

namespace quorvel::project::dxf {

enum class TextEncoding {
    Utf8,         // files of version 2007 (AC1021) and later
    CodePage936,  // GBK: $DWGCODEPAGE ANSI_936, and older files that name no code page
    Latin1,       // ANSI_1252 and the other single-byte Western code pages
};

// The encoding of a file's texts from its $ACADVER (e.g. "AC1015") and
// $DWGCODEPAGE (e.g. "ANSI_936"); either may be empty.
TextEncoding EncodingOf(std::string_view version, std::string_view codePage);

// A value's bytes as UTF-8, with "\U+XXXX" (a Unicode character) and
// "\M+nXXXX" (a double-byte character of code page n; 5 is GBK) resolved.
// Undecodable bytes become U+FFFD.
std::string DecodeValue(std::string_view bytes, TextEncoding encoding);

// A TEXT's or ATTRIB's value as shown: "%%d" °, "%%p" ±, "%%c" ⌀, "%%%" %,
// the underline and overline switches "%%u" and "%%o" removed.
std::string PlainText(std::string_view text);

// An MTEXT's value as shown, on one line: formatting codes (fonts, heights,
// colours, switches, groups in braces) removed, paragraphs and line breaks
// joined by a blank, stacked fractions written "a/b".
std::string PlainMText(std::string_view text);

}  // namespace quorvel::project::dxf
