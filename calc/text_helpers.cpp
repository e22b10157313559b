#include "calc/text_helpers.h"

#include <fstream>
#include <limits>
#include <new>
#include <system_error>

#include "calc/code_page.h"
#include "calc/unicode_text.h"

namespace quorvel {

Result<std::u16string> LoadTextFile(const std::filesystem::path& file) {
    try {
        std::error_code error;
        const bool exists = std::filesystem::exists(file, error);
        if (error) return Fail(u"无法访问文件: " + PathText(file));
        if (!exists) {
            std::ofstream created(file, std::ios::binary);
            if (!created) return Fail(u"无法创建文件: " + PathText(file));
            return std::u16string();
        }
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (error ||
            size > static_cast<std::uintmax_t>(std::numeric_limits<std::streamsize>::max())) {
            return Fail(u"无法读取文件: " + PathText(file));
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) return Fail(u"无法打开文件: " + PathText(file));
        std::string bytes(static_cast<std::size_t>(size), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        if (in.gcount() != static_cast<std::streamsize>(size)) {
            return Fail(u"无法读取文件: " + PathText(file));
        }
        return DecodeCodePage936(bytes);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取文件!");
    } catch (const std::exception&) {
        return Fail(u"无法读取文件!");
    }
}

void DeleteDoubleSpace(std::u16string& text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u' ' && kept > 0 && text[kept - 1] == u' ') continue;
        text[kept++] = text[i];
    }
    text.resize(kept);
}

}  // namespace quorvel
