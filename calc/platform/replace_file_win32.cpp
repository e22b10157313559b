// Replacing a file on Windows: CreateFileW(CREATE_NEW), FlushFileBuffers,
// then ReplaceFileW (which keeps the old file's attributes and access list)
// or, when there is no old file, MoveFileExW.
#include <windows.h>

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

// The system's text of an error code, without the line end.
std::u16string SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, buffer + length);
        while (!text.empty() &&
               (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
            text.pop_back();
        }
    }
    if (buffer != nullptr) ::LocalFree(buffer);
    if (text.empty()) {
        const std::string number = std::to_string(code);
        text = u"系统错误 " + std::u16string(number.begin(), number.end());
    }
    return text;
}

std::u16string Reason(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
            return ErrorReason(std::make_error_code(std::errc::permission_denied));
        case ERROR_WRITE_PROTECT:
            return ErrorReason(std::make_error_code(std::errc::read_only_file_system));
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ErrorReason(std::make_error_code(std::errc::no_space_on_device));
        case ERROR_FILENAME_EXCED_RANGE:
            return ErrorReason(std::make_error_code(std::errc::filename_too_long));
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
            return ErrorReason(std::make_error_code(std::errc::no_such_file_or_directory));
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return u"文件正被其他程序使用";
        default:
            return SystemText(code);
    }
}

FileStepFault Fault(FileStep step, DWORD code) { return FileStepFault{step, Reason(code)}; }

std::wstring RandomSuffix() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    const std::uint64_t value = generator();
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    for (int i = 0; i < 12; ++i) text.push_back(kDigits[(value >> (4 * i)) & 0xF]);
    return text;
}

}  // namespace

std::optional<FileStepFault> WriteTemporaryBeside(const fs::path& target, std::string_view bytes,
                                                  fs::path& temporary) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kMostNames && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            target.parent_path() / (target.filename().wstring() + L".tmp-" + RandomSuffix());
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
                return Fault(FileStep::Create, code);
            }
        }
    }
    if (file == INVALID_HANDLE_VALUE) return Fault(FileStep::Create, ERROR_FILE_EXISTS);

    DWORD code = ERROR_SUCCESS;
    while (!bytes.empty() && code == ERROR_SUCCESS) {
        const DWORD chunk =
            bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            code = ::GetLastError();
        } else if (written == 0) {
            code = ERROR_WRITE_FAULT;
        } else {
            bytes.remove_prefix(written);
        }
    }
    if (code == ERROR_SUCCESS && !::FlushFileBuffers(file)) code = ::GetLastError();
    if (!::CloseHandle(file) && code == ERROR_SUCCESS) code = ::GetLastError();
    if (code != ERROR_SUCCESS) {
        RemoveTemporary(temporary);
        return Fault(FileStep::Write, code);
    }
    return std::nullopt;
}

std::optional<FileStepFault> ReplaceWithTemporary(const fs::path& temporary,
                                                  const fs::path& target) {
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // With a backup name a failed replacement leaves both files under
        // their own names (or the old one under the backup name, moved back).
        const fs::path backup = temporary.wstring() + L".old";
        if (!::ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(),
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
                ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
            }
            return Fault(FileStep::Replace, code);
        }
        ::DeleteFileW(backup.c_str());
        return std::nullopt;
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Fault(FileStep::Replace, ::GetLastError());
    }
    return std::nullopt;
}

void RemoveTemporary(const fs::path& temporary) { ::DeleteFileW(temporary.c_str()); }

}  // namespace quorvel
