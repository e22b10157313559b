#include "ui/win32/app_dir.h"

#include <windows.h>

#include <string>

namespace quorvel {

std::filesystem::path ApplicationDirectory() {
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        file.resize(file.size() * 2);  // a long path: try a larger buffer
    }
    return std::filesystem::path(file).parent_path();
}

}  // namespace quorvel
