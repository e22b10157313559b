#pragma once

#include <string>
#include <string_view>

#include "calc/result.h"

namespace quorvel {

// Code page 936 bytes to UTF-16; a double-byte character becomes one
// character. A byte that does not start a valid character becomes U+FFFD, so
// that a damaged file still reads.
Result<std::u16string> DecodeCodePage936(std::string_view bytes);

// UTF-16 to code page 936 bytes; fails when a character has no code there.
Result<std::string> EncodeCodePage936(std::u16string_view text);

}  // namespace quorvel
