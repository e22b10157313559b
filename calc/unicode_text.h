#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel {

// UTF-16 <-> UTF-8. Malformed input (lone surrogates, invalid UTF-8 bytes)
// becomes U+FFFD; the conversions cannot fail otherwise.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

// A path for a message to the user, and a path from a name in UTF-16.
std::u16string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(std::u16string_view text);

}  // namespace quorvel
