#pragma once
// Writing a file so that it is either the old content or the new one, never
// a part of either: a temporary file in the same folder is written and
// flushed to the disk, then put in the old file's place in one step.

#include <filesystem>
#include <functional>
#include <string_view>

#include "calc/result.h"

namespace quorvel {

// Writes `bytes` to `file` (through a symbolic link to the file it names).
// A new file gets the permissions of any new file of the user, a replaced
// one keeps its own. `beforeReplace`, when given, runs after the temporary
// file is on the disk and before it replaces the old one; a failure it
// returns stops the save (tests use it to interrupt a save). On any fault
// the temporary file is removed, the old file is as it was, and the message
// (in Chinese) names the file and the system's reason.
Status WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                           const std::function<Status()>& beforeReplace = {});

}  // namespace quorvel
