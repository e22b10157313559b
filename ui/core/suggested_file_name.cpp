#include "ui/core/suggested_file_name.h"

#include "calc/unicode_text.h"

namespace quorvel {

std::u16string SuggestedFileName(std::string_view projectName,
                                 const std::filesystem::path& projectFile,
                                 std::u16string_view what) {
    std::u16string name = FromUtf8(projectName);
    if (name.empty() && !projectFile.empty()) name = PathText(projectFile.stem());
    if (name.empty()) return std::u16string(what);
    for (char16_t& c : name) {
        if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            c = u'_';
    }
    return name + u"-" + std::u16string(what);
}

}  // namespace quorvel
