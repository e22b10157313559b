#pragma once
// A folder of its own for each calculation of a batch, so that several model
// processes can run at the same time without meeting each other's files.

#include <filesystem>

#include "calc/result.h"

namespace quorvel::project {

// Creates a new, empty folder with a name no other run uses inside `base`,
// an existing folder this user may write. An error text naming `base` when
// none can be made.
Result<std::filesystem::path> MakeRunFolder(const std::filesystem::path& base);

// Removes `folder` and everything in it; false when something stays.
bool RemoveRunFolder(const std::filesystem::path& folder);

}  // namespace quorvel::project
