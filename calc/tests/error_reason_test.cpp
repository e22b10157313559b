#include "calc/error_reason.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ErrorReason, CommonCausesInChineseOthersAsTheSystemSaysThem) {
    EXPECT_EQ(ErrorReason(std::make_error_code(std::errc::permission_denied)), u"没有写入权限");
    EXPECT_EQ(ErrorReason(std::make_error_code(std::errc::no_space_on_device)), u"磁盘空间不足");
    EXPECT_EQ(ErrorReason(std::make_error_code(std::errc::not_a_directory)),
              u"路径中有同名的文件，不是文件夹");
    const std::error_code other = std::make_error_code(std::errc::too_many_files_open);
    EXPECT_FALSE(ErrorReason(other).empty());
}

}  // namespace
}  // namespace quorvel
