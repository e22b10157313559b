#pragma once
// The file names the project window's save dialogs offer for what it exports.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel {

// "<project name>-<what>", e.g. "示例化工项目-结果.dxf"; the project file's
// stem in place of an empty name (`projectName` is UTF-8); `what` alone for
// neither. Characters file names cannot hold (\ / : * ? " < > | and control
// characters) become "_".
std::u16string SuggestedFileName(std::string_view projectName,
                                 const std::filesystem::path& projectFile,
                                 std::u16string_view what);

}  // namespace quorvel
