#pragma once
// Test helpers for runs whose application directory this user may not write:
// a directory locked for as long as the helper lives, and an environment
// variable set for as long as its helper lives.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel::test_support {

// Takes write access to a directory away. An ordinary user loses it through
// the permission bits; root, whom those do not stop, through the immutable
// flag where the file system allows it (made() is false where it does not).
class LockedDirectory {
  public:
    explicit LockedDirectory(const std::filesystem::path& dir) : dir_(dir) {
        if (::geteuid() == 0) {
            made_ = std::system(("chattr +i '" + dir_.string() + "' 2>/dev/null").c_str()) == 0;
        } else {
            std::error_code error;
            std::filesystem::permissions(dir_, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove, error);
            made_ = !error;
        }
    }
    ~LockedDirectory() {
        if (!made_) return;
        if (::geteuid() == 0) {
            // Nothing more to do when it fails; the test's clean-up reports it.
            [[maybe_unused]] const int status =
                std::system(("chattr -i '" + dir_.string() + "'").c_str());
        } else {
            std::error_code error;
            std::filesystem::permissions(dir_, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, error);
        }
    }
    LockedDirectory(const LockedDirectory&) = delete;
    LockedDirectory& operator=(const LockedDirectory&) = delete;

    bool made() const { return made_; }

  private:
    std::filesystem::path dir_;
    bool made_ = false;
};

// Sets (or, given nullopt, removes) an environment variable and restores it.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace quorvel::test_support
