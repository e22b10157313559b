#include "calc/sheet/sheet_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/sheet/calculation_sheet.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

constexpr int kMostNames = 100;

std::u16string Digits(int value, int width) {
    std::u16string text;
    for (int i = 0; i < width; ++i) {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    }
    return text;
}

// The content of an existing file, or nullopt when there is none or it
// cannot be read.
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

std::u16string SheetFileName(const LocalTime& t) {
    return u"计算书_" + Digits(t.year, 4) + Digits(t.month, 2) + Digits(t.day, 2) + u"-" +
           Digits(t.hour, 2) + Digits(t.minute, 2) + Digits(t.second, 2) + u".html";
}

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
                if (Status written = WriteNew(file, content); !written) {
                    return Fail(written.error());
                }
                return file;
            }
            // Pressing the button again for the same run finds its own sheet.
            if (Content(file) == content) return file;
        }
        return Fail(u"保存计算书的文件夹中同名文件过多: " + PathText(folder));
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法保存计算书!");
    } catch (const std::exception&) {
        return Fail(u"无法保存计算书!");
    }
}

Result<std::filesystem::path> SaveCalculationSheet(const std::filesystem::path& documentsDir,
                                                   const RunRecord& record) {
    try {
        return SaveSheetInDocuments(documentsDir, SheetFileName(record.finished),
                                    CalculationSheetHtml(record));
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法保存计算书!");
    }
}

}  // namespace quorvel
