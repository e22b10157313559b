#pragma once

#include <filesystem>

namespace quorvel {

// The directory that holds the running program, without a trailing separator.
std::filesystem::path ApplicationDirectory();

}  // namespace quorvel
