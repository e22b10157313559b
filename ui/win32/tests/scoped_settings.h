#pragma once
// Settings of the test's Wine prefix and environment changed for as long as
// an object lives, and put back afterwards, for the programs a test starts.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace quorvel::test_support {

// A value under HKEY_CURRENT_USER, in the Wine prefix of the tests (never
// the user's own); the old value, or its absence, is put back afterwards.
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(const wchar_t* key, const wchar_t* name, const std::wstring& value);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

  private:
    void Set(DWORD type, const std::wstring& value);
    const wchar_t* name_;
    HKEY key_ = nullptr;
    DWORD oldType_ = REG_SZ;
    std::optional<std::wstring> old_;
};

// An environment variable of the programs the test starts.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// The user's documents folder moved to `folder` (made if missing) for the
// programs started afterwards, and the desktop's browser kept from starting
// when they open a page they wrote there.
class ScopedDocumentsFolder {
  public:
    explicit ScopedDocumentsFolder(const std::filesystem::path& folder);

  private:
    static const std::filesystem::path& Made(const std::filesystem::path& folder);
    // The shell reads the first and keeps what it found in the second.
    ScopedRegistryValue userShellFolder_;
    ScopedRegistryValue shellFolder_;
    ScopedEnvironment noBrowser_;
};

}  // namespace quorvel::test_support
