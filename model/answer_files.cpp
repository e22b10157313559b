#include "model/answer_files.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>

namespace quorvel {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

// In UTF-8 on every platform: a narrow name from path::string() is in the
// system code page on Windows and cannot hold every name.
std::string Utf8FileName(const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

std::optional<std::string> AnswerFileArgument(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.empty() || arg.front() != '<') continue;
        std::string name = TrimBlanks(arg.substr(1));
        if (name.empty() && i + 1 < argc) name = TrimBlanks(argv[i + 1]);
        return name;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          const std::string& name) {
    std::error_code ec;
    const std::filesystem::path exact = directory / name;
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    const std::filesystem::path wanted(name);
    const std::filesystem::path folder = (directory / wanted).parent_path();
    const std::string leaf = Lower(Utf8FileName(wanted));
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (Lower(Utf8FileName(it->path())) == leaf && it->is_regular_file(ec)) {
            return it->path();
        }
    }
    return std::nullopt;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace quorvel
