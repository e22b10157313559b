#pragma once
// The text of a file that may be UTF-8 or GB18030, as spreadsheets save CSV
// files on Chinese systems.

#include <string>
#include <string_view>

#include "calc/result.h"

namespace quorvel {

// True when `bytes` are well-formed UTF-8 (no overlong forms, surrogates or
// code points beyond U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The text of `bytes`: UTF-8 when they are valid UTF-8 (a byte-order mark is
// dropped), else GB18030. GB18030's one- and two-byte codes are read by the
// code page 936 conversion, its four-byte codes beyond the Basic
// Multilingual Plane by their arithmetic. A file that is neither, or that
// holds a four-byte code of a character within that plane (which the
// platform's code page 936 cannot read), is refused with a Chinese message
// naming the line (from 1) rather than read with characters replaced.
Result<std::u16string> DecodeUtf8OrGb18030(std::string_view bytes);

}  // namespace quorvel
