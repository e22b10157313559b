#include "ui/core/sheet_folder.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/sheet/sheet_file.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

constexpr int kMostNames = 100;

std::optional<std::string> Content(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Status WriteNew(const std::filesystem::path& file, const std::string& content) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        const int cause = errno;
        return Fail(u"无法创建计算书文件: " + PathText(file) +
                    (cause != 0 ? u"（" + ErrorReason({cause, std::generic_category()}) + u"）"
                                : std::u16string()));
    }
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return Fail(u"无法写入计算书文件: " + PathText(file));
    }
    return {};
}

}  // namespace

Result<std::filesystem::path> SaveSheetInDocuments(const std::filesystem::path& documentsDir,
                                                   std::u16string_view fileName,
                                                   const std::string& content) {
    try {
        const std::filesystem::path folder = documentsDir / PathFromText(kSheetFolderName);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder)) {
            if (!error) error = std::make_error_code(std::errc::not_a_directory);
            return Fail(u"无法创建保存计算书的文件夹: " + PathText(folder) + u"（" +
                        ErrorReason(error) + u"）");
        }
        const std::u16string name(fileName);
        const std::u16string extension = u".html";
        const bool hasExtension =
            name.size() > extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
        const std::u16string stem = hasExtension ? name.substr(0, name.size() - 5) : name;
        for (int n = 1; n <= kMostNames; ++n) {
            const std::filesystem::path file =
                folder / PathFromText(n == 1
                                          ? stem + extension
                                          : stem + u"_" + FromUtf8(std::to_string(n)) + extension);
            if (!std::filesystem::exists(file, error)) {
                if (Status written = WriteNew(file, content); !written)
                    return Fail(written.error());
                return file;
            }
            if (Content(file) == content) return file;
        }
        return Fail(u"保存计算书的文件夹中同名文件过多: " + PathText(folder));
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法保存计算书!");
    } catch (const std::exception&) {
        return Fail(u"无法保存计算书!");
    }
}

}  // namespace quorvel
