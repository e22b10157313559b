#include "calc/project/sheet/plan_picture_file.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/unicode_text.h"

namespace quorvel::project {

Result<PlanPicture> LoadPlanPicture(const std::filesystem::path& projectFolder, const Plan& plan) {
    try {
        if (plan.image.empty()) return Fail(u"项目未给出平面图文件");
        std::filesystem::path file = PathFromText(FromUtf8(plan.image));
        if (file.is_relative()) file = projectFolder / file;
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (error) {
            return Fail(u"无法读取平面图: " + PathText(file) + u"（" + ErrorReason(error) + u"）");
        }
        if (size > kLargestPlanPicture)
            return Fail(u"平面图文件过大（超过 32 MB）: " + PathText(file));
        errno = 0;
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            const int cause = errno;
            return Fail(u"无法读取平面图: " + PathText(file) +
                        (cause != 0 ? u"（" + ErrorReason({cause, std::generic_category()}) + u"）"
                                    : std::u16string()));
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return Fail(u"无法读取平面图: " + PathText(file));
        Result<PlanPicture> picture = ReadPlanPicture(std::move(bytes));
        if (!picture) return Fail(picture.error() + u": " + PathText(file));
        return picture;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法读取平面图!");
    } catch (const std::exception&) {
        return Fail(u"无法读取平面图!");
    }
}

}  // namespace quorvel::project
