#include "calc/run/run_directory.h"

namespace quorvel {

Result<std::filesystem::path> ChooseRunDirectory(const std::filesystem::path& appDir) {
    if (IsWritableDirectory(appDir)) return appDir;
    const std::filesystem::path own = UserRunDirectory();
    if (own.empty()) return Fail(u"找不到用户目录，无法保存运行文件!");
    if (Status made = MakePrivateDirectory(own); !made) return Fail(made.error());
    return own;
}

}  // namespace quorvel
