#pragma once

#include <string>
#include <system_error>

namespace quorvel {

// Why a file operation failed, in Chinese for the common causes (no
// permission, a file where a folder must be, a full or read-only disk, a path
// that is too long or missing), otherwise the system's own description.
std::u16string ErrorReason(const std::error_code& error);

}  // namespace quorvel
