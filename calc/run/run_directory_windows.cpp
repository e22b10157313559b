// The run directory on Windows: a folder of the user's local application data.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "calc/run/run_directory.h"
#include "calc/unicode_text.h"

namespace quorvel {

namespace fs = std::filesystem;

bool IsWritableDirectory(const fs::path& dir) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) return false;
    // Access lists decide on Windows, so the one sure test is to create a
    // file; the system removes it again when its handle closes.
    const std::wstring probe =
        (dir / (L"quorvel-write-test-" + std::to_wstring(::GetCurrentProcessId()))).wstring();
    HANDLE file = ::CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

fs::path UserRunDirectory() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || local[0] == L'\0') return {};
    return fs::path(local) / L"Quorvel";
}

// The user's profile is private to the user; a folder made in it inherits that.
Status MakePrivateDirectory(const fs::path& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir, error)) return Fail(u"不能创建运行目录" + PathText(dir) + u"!");
    return {};
}

}  // namespace quorvel
