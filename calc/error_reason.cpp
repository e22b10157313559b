#include "calc/error_reason.h"

#include "calc/unicode_text.h"

namespace quorvel {

std::u16string ErrorReason(const std::error_code& error) {
    struct Known {
        std::errc condition;
        const char16_t* reason;
    };
    static constexpr Known kKnown[] = {
        {std::errc::permission_denied, u"没有写入权限"},
        {std::errc::operation_not_permitted, u"没有写入权限"},
        {std::errc::read_only_file_system, u"磁盘是只读的"},
        {std::errc::not_a_directory, u"路径中有同名的文件，不是文件夹"},
        {std::errc::file_exists, u"已有同名的文件"},
        {std::errc::no_space_on_device, u"磁盘空间不足"},
        {std::errc::filename_too_long, u"路径太长"},
        {std::errc::no_such_file_or_directory, u"路径不存在"},
    };
    for (const Known& known : kKnown) {
        if (error == known.condition) return known.reason;
    }
    return FromUtf8(error.message());
}

}  // namespace quorvel
