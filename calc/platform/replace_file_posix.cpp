// Replacing a file on POSIX systems: open(O_EXCL), fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/platform/replace_file.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr int kMostNames = 100;

FileStepFault Fault(FileStep step, int cause) {
    return FileStepFault{step, ErrorReason({cause, std::generic_category()})};
}

std::string RandomSuffix() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    const std::uint64_t value = generator();
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 12; ++i) text.push_back(kDigits[(value >> (4 * i)) & 0xF]);
    return text;
}

// Writes all of `bytes`, again after an interruption; errno on a fault.
int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

std::optional<FileStepFault> WriteTemporaryBeside(const fs::path& target, std::string_view bytes,
                                                  fs::path& temporary) {
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    int descriptor = -1;
    for (int attempt = 0; attempt < kMostNames && descriptor < 0; ++attempt) {
        temporary =
            target.parent_path() / ("." + target.filename().string() + ".tmp-" + RandomSuffix());
        // 0666 less the umask: the mode of any new file of the user.
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST) return Fault(FileStep::Create, errno);
    }
    if (descriptor < 0) return Fault(FileStep::Create, EEXIST);

    if (replacing) {
        // The old file's group and mode, as far as the user may give them.
        if (old.st_gid != ::getegid() &&
            ::fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not a member of that group: the new file keeps the user's own.
        }
        (void)::fchmod(descriptor, old.st_mode & 07777);
    }
    int cause = WriteAll(descriptor, bytes);
    if (cause == 0 && ::fsync(descriptor) != 0) cause = errno;
    if (::close(descriptor) != 0 && cause == 0) cause = errno;
    if (cause != 0) {
        RemoveTemporary(temporary);
        return Fault(FileStep::Write, cause);
    }
    return std::nullopt;
}

std::optional<FileStepFault> ReplaceWithTemporary(const fs::path& temporary,
                                                  const fs::path& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) return Fault(FileStep::Replace, errno);
    // The new name on the disk too; a folder that cannot be flushed still
    // holds the file.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        (void)::fsync(directory);
        ::close(directory);
    }
    return std::nullopt;
}

void RemoveTemporary(const fs::path& temporary) { ::unlink(temporary.c_str()); }

}  // namespace quorvel
