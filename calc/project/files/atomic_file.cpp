#include "calc/project/files/atomic_file.h"

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "calc/platform/replace_file.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr int kMostLinks = 40;

// The file that `file` names after following symbolic links, so that saving
// through a link replaces the file and keeps the link.
fs::path Destination(const fs::path& file) {
    fs::path current = file;
    std::error_code error;
    for (int i = 0; i < kMostLinks && fs::is_symlink(current, error); ++i) {
        const fs::path link = fs::read_symlink(current, error);
        if (error) break;
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current;
}

std::u16string Message(const FileStepFault& fault, const fs::path& file) {
    const char16_t* what = fault.step == FileStep::Create  ? u"无法保存文件: "
                           : fault.step == FileStep::Write ? u"无法写入文件: "
                                                           : u"无法替换文件: ";
    return what + PathText(file) + u"（" + fault.reason + u"）";
}

}  // namespace

Status WriteFileAtomically(const fs::path& file, std::string_view bytes,
                           const std::function<Status()>& beforeReplace) {
    try {
        const fs::path target = Destination(file);
        std::error_code error;
        const bool existed = fs::exists(target, error);
        const std::u16string kept = existed ? u"，原文件没有改动" : u"";
        // Some systems let a file take a folder's place; a folder is never replaced.
        if (fs::is_directory(target, error)) {
            return Fail(u"无法保存文件: " + PathText(file) + u"（这是一个文件夹）");
        }

        fs::path temporary;
        if (const std::optional<FileStepFault> fault =
                WriteTemporaryBeside(target, bytes, temporary)) {
            return Fail(Message(*fault, file) + kept);
        }
        if (beforeReplace) {
            Status ready = Fail(u"保存被中断");
            try {
                ready = beforeReplace();
            } catch (const std::exception&) {
            }
            if (!ready) {
                RemoveTemporary(temporary);
                return Fail(u"无法保存文件: " + PathText(file) + u"（" + ready.error() + u"）" +
                            kept);
            }
        }
        if (const std::optional<FileStepFault> fault = ReplaceWithTemporary(temporary, target)) {
            RemoveTemporary(temporary);
            return Fail(Message(*fault, file) + kept);
        }
        return {};
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法保存文件: " + PathText(file));
    }
}

}  // namespace quorvel
