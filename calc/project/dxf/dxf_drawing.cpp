#include "calc/project/dxf/dxf_drawing.h"

#include "calc/unicode_text.h"

namespace quorvel::project::dxf {

std::string NameKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
}

std::u16string EntityPlace(const Entity& entity) {
    std::u16string place =
        u"第 " + FromUtf8(std::to_string(entity.line)) + u" 行的 " + FromUtf8(entity.type);
    if (!entity.handle.empty()) place += u"（句柄 " + FromUtf8(entity.handle) + u"）";
    return place;
}

}  // namespace quorvel::project::dxf
