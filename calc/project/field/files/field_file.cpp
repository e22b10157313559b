#include "calc/project/field/files/field_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <map>
#include <new>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/project/field/files/csv_field.h"
#include "calc/project/field/files/plot_file.h"
#include "calc/project/field/files/surfer_grid.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

// Field files larger than this (bytes) are refused before reading.
constexpr std::uintmax_t kLargestFieldFile = 512u * 1024u * 1024u;

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::u16string Listed(const std::vector<std::string>& values) {
    std::u16string text;
    for (const std::string& v : values) text += (text.empty() ? u"" : u"、") + FromUtf8(v);
    return text;
}

// Narrows `records` to those whose `member` is `wanted` (any letter case);
// with nothing wanted, the one value they hold. `what` names it and `key`
// the project member that picks it.
Status Narrow(std::vector<PlotRecord>& records, std::string PlotRecord::*member,
              const std::string& wanted, const char16_t* what, const char16_t* key) {
    std::vector<std::string> held;
    for (const PlotRecord& r : records) {
        if (std::find(held.begin(), held.end(), Upper(r.*member)) == held.end())
            held.push_back(Upper(r.*member));
    }
    if (!wanted.empty()) {
        const std::string picked = Upper(wanted);
        if (std::find(held.begin(), held.end(), picked) == held.end()) {
            return Fail(std::u16string(u"文件中没有") + what + u" " + FromUtf8(wanted) +
                        u" 的结果（文件中有：" + Listed(held) + u"）");
        }
        std::erase_if(records, [&](const PlotRecord& r) { return Upper(r.*member) != picked; });
    } else if (held.size() > 1) {
        return Fail(std::u16string(u"文件中有多个") + what + u"：" + Listed(held) +
                    u"，请在项目文件的 fields 中用 “" + key + u"” 选定一个");
    }
    return {};
}

Result<FileField> FromPlotFile(std::string_view bytes, const FieldFile& entry) {
    Result<std::vector<PlotRecord>> read = ReadPlotFile(bytes);
    if (!read) return Fail(read.error());
    std::vector<PlotRecord> records = std::move(read).value();
    if (Status s = Narrow(records, &PlotRecord::average, entry.average, u"平均时段", u"average");
        !s)
        return Fail(s.error());
    if (Status s = Narrow(records, &PlotRecord::rank, entry.rank, u"排序", u"rank"); !s)
        return Fail(s.error());
    if (Status s = Narrow(records, &PlotRecord::group, entry.group, u"源组", u"group"); !s)
        return Fail(s.error());
    FileField field;
    field.average = Upper(records.front().average);
    std::map<std::string, std::vector<FieldSample>> networks;
    std::size_t others = 0;
    for (const PlotRecord& r : records) {
        if (r.network.empty()) {
            ++others;
            continue;
        }
        networks[r.network].push_back({r.x, r.y, r.c, r.line});
    }
    if (networks.empty()) return Fail(u"文件中没有网格受体（只有离散或厂界受体），构不成浓度场");
    for (const auto& [id, samples] : networks) {
        Result<FileGrid> grid = GridOfSamples(samples);
        if (!grid) return Fail(u"网格 " + FromUtf8(id) + u"：" + grid.error());
        field.grids.push_back(std::move(grid).value());
    }
    if (others > 0) {
        field.note = u"浓度场文件中另有 " + FromUtf8(std::to_string(others)) +
                     u" 个离散或厂界受体，未用于浓度场";
    }
    return field;
}

}  // namespace

std::string FormatOfContent(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return "csv";
    const std::string_view text = bytes.substr(start);
    if (text.starts_with("DSAA") || text.starts_with("DSBB") || text.starts_with("DSRB"))
        return "surfer";
    if (text.starts_with("*")) return "aermod-plot";
    return "csv";
}

Result<FileField> ReadFieldFile(std::string_view bytes, const FieldFile& entry) {
    FileField field;
    const std::string format = entry.format.empty() ? FormatOfContent(bytes) : entry.format;
    if (format == "aermod-plot") {
        Result<FileField> plot = FromPlotFile(bytes, entry);
        if (!plot) return plot;
        field = std::move(plot).value();
    } else {
        if (!entry.rank.empty() || !entry.group.empty()) {
            return Fail(u"rank 和 group 只用于 aermod-plot 格式的文件");
        }
        Result<FileGrid> grid = Fail(u"");
        if (format == "surfer") {
            grid = ReadSurferGrid(bytes);
        } else {
            Result<std::vector<FieldSample>> samples = ReadCsvField(bytes);
            if (!samples) return Fail(samples.error());
            grid = GridOfSamples(samples.value());
        }
        if (!grid) return Fail(grid.error());
        field.grids.push_back(std::move(grid).value());
        field.average = entry.average.empty() ? "1-HR" : Upper(entry.average);
    }
    field.format = format;
    if (field.average != "1-HR" && field.average != "24-HR") {
        return Fail(u"平均时段 " + FromUtf8(field.average) +
                    u" 不能用于防护距离：只能用 1-HR（小时标准）或 24-HR（日均标准）");
    }
    for (FileGrid& grid : field.grids) {
        grid.minX -= entry.offset.x;
        grid.minY -= entry.offset.y;
    }
    std::stable_sort(
        field.grids.begin(), field.grids.end(),
        [](const FileGrid& a, const FileGrid& b) { return a.stepX * a.stepY < b.stepX * b.stepY; });
    return field;
}

Result<FileField> LoadFieldFile(const std::filesystem::path& projectFolder,
                                const FieldFile& entry) {
    const std::u16string named = u"浓度场文件 “" + FromUtf8(entry.file) + u"” ";
    try {
        std::filesystem::path file = PathFromText(FromUtf8(entry.file));
        if (file.is_relative()) file = projectFolder / file;
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (error) return Fail(named + u"无法读取（" + ErrorReason(error) + u"）");
        if (size > kLargestFieldFile) return Fail(named + u"过大（超过 512 MB）");
        errno = 0;
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            const int cause = errno != 0 ? errno : ENOENT;
            return Fail(named + u"无法打开（" + ErrorReason({cause, std::generic_category()}) +
                        u"）");
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (in.bad()) return Fail(named + u"无法读取");
        Result<FileField> field = ReadFieldFile(bytes, entry);
        if (!field) return Fail(named + u"不能使用：" + field.error());
        return field;
    } catch (const std::bad_alloc&) {
        return Fail(named + u"过大，内存不足");
    }
}

}  // namespace quorvel::project
