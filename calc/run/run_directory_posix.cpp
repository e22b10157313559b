// The run directory on POSIX desktops: the XDG state directory.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "calc/run/run_directory.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// An environment variable that holds an absolute path, or empty.
fs::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    return fs::path(value);
}

fs::path HomeDirectory() {
    if (fs::path home = AbsoluteFromEnvironment("HOME"); !home.empty()) return home;
    // No HOME (a bare service environment): the account's own entry.
    const passwd* entry = ::getpwuid(::geteuid());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/') return {};
    return fs::path(entry->pw_dir);
}

Failure CannotMake(const fs::path& dir) { return Fail(u"不能创建运行目录" + PathText(dir) + u"!"); }

}  // namespace

bool IsWritableDirectory(const fs::path& dir) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) return false;
    // access() also sees read-only mounts and immutable directories, which
    // the permission bits do not show.
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

fs::path UserRunDirectory() {
    // A relative XDG_STATE_HOME is invalid and ignored, as the XDG base
    // directory rules ask.
    fs::path state = AbsoluteFromEnvironment("XDG_STATE_HOME");
    if (state.empty()) {
        const fs::path home = HomeDirectory();
        if (home.empty()) return {};
        state = home / ".local" / "state";
    }
    return state / "quorvel";
}

Status MakePrivateDirectory(const fs::path& dir) {
    fs::path partial;
    for (const fs::path& part : dir.lexically_normal()) {
        if (part.empty()) continue;  // the empty last part of a trailing "/"
        partial /= part;
        if (::mkdir(partial.c_str(), S_IRWXU) != 0 && errno != EEXIST) return CannotMake(dir);
    }
    // The directory must be the user's own: a run directory that another user
    // controls could hand this user's runs a report of that user's making.
    struct stat status {};
    if (::stat(dir.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return CannotMake(dir);
    if (status.st_uid != ::geteuid()) {
        return Fail(u"运行目录" + PathText(dir) + u"不属于当前用户!");
    }
    return {};
}

}  // namespace quorvel
