#pragma once
// Where one run's files lie. A program in a folder of its own (a build tree,
// a copied folder) keeps them in its application directory; an installed
// program, whose directory this user may not write, keeps them in a directory
// of the user's own, so that nothing is ever written under the install prefix.

#include <filesystem>

#include "calc/result.h"

namespace quorvel {

// `appDir` when this user may create and remove files in it; otherwise the
// user's run directory (UserRunDirectory), created on demand with access for
// the user alone. An error text when that directory cannot be made or is not
// the user's own.
Result<std::filesystem::path> ChooseRunDirectory(const std::filesystem::path& appDir);

// The platform's part.

// Whether this user may create and remove files in `dir`, an existing
// directory; false when it does not exist.
bool IsWritableDirectory(const std::filesystem::path& dir);

// The user's run directory for this program; empty when the platform gives no
// place for it (no home directory).
std::filesystem::path UserRunDirectory();

// Creates `dir` and any missing parents with access for the user alone, and
// checks that it is a directory owned by this user. An error text otherwise.
Status MakePrivateDirectory(const std::filesystem::path& dir);

}  // namespace quorvel
