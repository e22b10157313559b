#include "calc/project/dxf/dxf_groups.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

std::u16string LineText(int line) { return u"第 " + FromUtf8(std::to_string(line)) + u" 行"; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

// A value shown in a message: at most 40 bytes, cut before a UTF-8 sequence.
std::u16string Shown(std::string_view value) {
    if (value.size() > 40) {
        std::size_t cut = 40;
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
        return u"“" + FromUtf8(value.substr(0, cut)) + u"…”";
    }
    return u"“" + FromUtf8(value) + u"”";
}

}  // namespace

Result<std::vector<Group>> ReadGroups(std::string_view bytes) {
    if (bytes.starts_with("AC10") || bytes.starts_with("AC1.")) {
        return Fail(u"这是 DWG 图形文件，本程序只读 DXF：请在 CAD 中把它另存为 DXF 后再导入");
    }
    if (bytes.starts_with(kBinarySentinel)) {
        return Fail(
            u"这是二进制 DXF 文件，本程序只读文本（ASCII）DXF：请在 CAD 中另存为 ASCII 格式的 DXF");
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

    std::vector<Group> groups;
    int line = 0;
    bool sawEnd = false;
    const auto nextLine = [&bytes, &line]() {
        const std::size_t end = bytes.find('\n');
        const std::string_view text = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++line;
        return text;
    };
    while (!bytes.empty()) {
        const std::string_view codeText = Trimmed(nextLine());
        const int codeLine = line;
        if (codeText.empty() && bytes.empty()) break;  // a line end after the last value
        int code = 0;
        const auto [end, error] =
            std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (error != std::errc() || end != codeText.data() + codeText.size() || code < 0) {
            if (groups.empty()) {
                return Fail(u"不是 DXF 文件（第 1 行应为组码 0，文件却以 " + Shown(codeText) +
                            u" 开头）");
            }
            return Fail(LineText(codeLine) + u"应为组码（整数），却是 " + Shown(codeText));
        }
        groups.push_back(Group{code, Trimmed(nextLine()), codeLine});
        if (code == 0 && groups.back().value == "EOF") {
            sawEnd = true;
            break;
        }
        if (groups.size() == 1 && (code != 0 || groups.front().value != "SECTION") && code != 999) {
            return Fail(u"不是 DXF 文件（文件应以组码 0 和 SECTION 开头）");
        }
    }
    if (groups.empty()) return Fail(u"文件是空的，不是 DXF 文件");
    if (!sawEnd) {
        return Fail(u"文件不完整：在第 " + FromUtf8(std::to_string(line)) +
                    u" 行意外结束（缺少结尾的 EOF），可能只复制了一部分");
    }
    return groups;
}

Result<double> GroupNumber(const Group& group) {
    double number = 0.0;
    const std::string_view text =
        group.value.starts_with('+') ? group.value.substr(1) : group.value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) {
        return Fail(LineText(group.line) + u"：组码 " + FromUtf8(std::to_string(group.code)) +
                    u" 的值 " + Shown(group.value) + u" 不是数字");
    }
    return number;
}

Result<int> GroupInteger(const Group& group) {
    const Result<double> number = GroupNumber(group);
    if (!number) return Fail(number.error());
    if (std::fabs(number.value()) > 2e9 || number.value() != std::trunc(number.value())) {
        return Fail(LineText(group.line) + u"：组码 " + FromUtf8(std::to_string(group.code)) +
                    u" 的值 " + Shown(group.value) + u" 不是整数");
    }
    return static_cast<int>(number.value());
}

}  // namespace quorvel::project::dxf
