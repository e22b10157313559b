#include "calc/run/run_files.h"

#include <system_error>

#include "calc/file_names.h"
#include "calc/unicode_text.h"

namespace quorvel {

Status RemoveFilesIgnoringCase(const std::filesystem::path& directory, std::string_view name) {
    // Each pass removes one match; a file that stays after remove() would be
    // found again, so it ends the loop with an error instead.
    while (auto found = FindFileIgnoringCase(directory, name)) {
        std::error_code error;
        std::filesystem::remove(*found, error);
        if (error) return Fail(u"不能删除文件" + PathText(*found) + u"!");
    }
    return {};
}

Status RemoveRunFiles(const std::filesystem::path& directory) {
    for (auto name : {kAnswerFileName, kReportFileName, kModelDataFileName}) {
        Status removed = RemoveFilesIgnoringCase(directory, name);
        if (!removed) return removed;
    }
    return {};
}

}  // namespace quorvel
