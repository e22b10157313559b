#include "ui/win32/tests/scoped_settings.h"

namespace quorvel::test_support {

ScopedRegistryValue::ScopedRegistryValue(const wchar_t* key, const wchar_t* name,
                                         const std::wstring& value)
    : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                    &key_, nullptr);
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        old_.emplace(size / sizeof(wchar_t) + 1, L'\0');
        RegQueryValueExW(key_, name, nullptr, &oldType_, reinterpret_cast<BYTE*>(old_->data()),
                         &size);
        old_->resize(size / sizeof(wchar_t));
    }
    Set(REG_SZ, value + L'\0');
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (old_) {
        Set(oldType_, *old_);
    } else {
        RegDeleteValueW(key_, name_);
    }
    RegCloseKey(key_);
}

void ScopedRegistryValue::Set(DWORD type, const std::wstring& value) {
    RegSetValueExW(key_, name_, 0, type, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>(value.size() * sizeof(wchar_t)));
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size > 0) {
        std::wstring old(size, L'\0');
        old.resize(GetEnvironmentVariableW(name, old.data(), size));
        old_ = old;
    }
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr);
}

ScopedDocumentsFolder::ScopedDocumentsFolder(const std::filesystem::path& folder)
    : userShellFolder_(
          L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
          L"Personal", Made(folder).wstring()),
      shellFolder_(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Personal", folder.wstring()),
      noBrowser_(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winebrowser.exe=d") {}

const std::filesystem::path& ScopedDocumentsFolder::Made(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace quorvel::test_support
