#include "calc/file_names.h"

#include <new>
#include <string>
#include <system_error>

#include "calc/unicode_text.h"

namespace quorvel {
namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

// The name in UTF-8 on every platform (the native form is UTF-16 on Windows).
std::string Utf8FileName(const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          std::string_view name) {
    try {
        std::optional<std::filesystem::path> found;
        std::string foundName;
        std::error_code error;
        std::filesystem::directory_iterator entries(directory, error);
        if (error) return std::nullopt;
        for (const std::filesystem::directory_iterator end; entries != end;
             entries.increment(error)) {
            if (error) return std::nullopt;
            const std::string entryName = Utf8FileName(entries->path());
            if (!EqualIgnoringAsciiCase(entryName, name)) continue;
            std::error_code statusError;
            if (!entries->is_regular_file(statusError) || statusError) continue;
            if (entryName == name) return entries->path();
            if (!found || entryName < foundName) {
                found = entries->path();
                foundName = entryName;
            }
        }
        if (error) return std::nullopt;
        return found;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          std::u16string_view name) {
    try {
        return FindFileIgnoringCase(directory, std::string_view(ToUtf8(name)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace quorvel
