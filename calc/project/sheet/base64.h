#pragma once

#include <string>
#include <string_view>

namespace quorvel::project {

// The bytes in base64 (RFC 4648, the standard alphabet, "=" padding, no line
// breaks), as a data URI holds them.
std::string Base64(std::string_view bytes);

}  // namespace quorvel::project
