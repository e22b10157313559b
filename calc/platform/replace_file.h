#pragma once
// The platform's steps of replacing a file safely: a new file beside the old
// one, flushed to the disk, then put in the old one's place in one step.
// Used by WriteFileAtomically (calc/project/files/atomic_file.h).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

enum class FileStep {
    Create,   // the temporary file could not be made
    Write,    // it could not be written, flushed to the disk or closed
    Replace,  // it could not be put in the old file's place
};

struct FileStepFault {
    FileStep step = FileStep::Create;
    std::u16string reason;  // the system's reason, in Chinese for the common causes
};

// Writes `bytes` to a new file of a free name in the folder of `target`,
// flushes it to the disk and closes it; its path goes to `temporary`. It gets
// the permissions `target` has when `target` is a file, otherwise those of a
// new file. On a fault nothing is left behind.
std::optional<FileStepFault> WriteTemporaryBeside(const std::filesystem::path& target,
                                                  std::string_view bytes,
                                                  std::filesystem::path& temporary);

// Puts `temporary` in the place of `target` (replacing it when it exists);
// on a fault `target` is as it was and `temporary` is still there.
std::optional<FileStepFault> ReplaceWithTemporary(const std::filesystem::path& temporary,
                                                  const std::filesystem::path& target);

// Removes a temporary file that is no longer wanted; a failure is ignored.
void RemoveTemporary(const std::filesystem::path& temporary);

}  // namespace quorvel
