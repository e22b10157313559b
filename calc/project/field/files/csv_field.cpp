#include "calc/project/field/files/csv_field.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "calc/csv_text.h"
#include "calc/project/field/files/field_text.h"
#include "calc/project/files/shortest_number.h"
#include "calc/text_encoding_guess.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

constexpr std::array<std::u16string_view, 4> kXNames{u"x", u"x坐标", u"东坐标", u"横坐标"};
constexpr std::array<std::u16string_view, 4> kYNames{u"y", u"y坐标", u"北坐标", u"纵坐标"};
constexpr std::array<std::u16string_view, 8> kCNames{u"c", u"conc", u"concentration", u"value",
                                                     u"z", u"浓度", u"浓度值",        u"预测浓度"};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000' || c == u'\u00A0'; }

std::u16string Trimmed(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return std::u16string(text);
}

// The column's name without a unit in brackets, in lower case.
std::u16string NameOf(std::u16string_view header) {
    std::u16string name = Trimmed(header);
    const std::size_t bracket = name.find_first_of(u"(（[");
    if (bracket != std::u16string::npos)
        name = Trimmed(std::u16string_view(name).substr(0, bracket));
    for (char16_t& c : name) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return name;
}

template <std::size_t N>
std::optional<std::size_t> ColumnOf(const std::vector<std::u16string>& header,
                                    const std::array<std::u16string_view, N>& names) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::u16string name = NameOf(header[i]);
        if (std::find(names.begin(), names.end(), name) != names.end()) return i;
    }
    return std::nullopt;
}

}  // namespace

Result<std::vector<FieldSample>> ReadCsvField(std::string_view bytes) {
    const Result<std::u16string> text = DecodeUtf8OrGb18030(bytes);
    if (!text) return Fail(text.error());
    const std::vector<CsvLine> rows = ParseCsv(text.value());
    if (rows.empty()) return Fail(u"文件是空的");
    const CsvLine& header = rows.front();
    const std::optional<std::size_t> cx = ColumnOf(header.cells, kXNames);
    const std::optional<std::size_t> cy = ColumnOf(header.cells, kYNames);
    const std::optional<std::size_t> cc = ColumnOf(header.cells, kCNames);
    if (!cx || !cy || !cc) {
        std::u16string missing;
        if (!cx) missing += u"x";
        if (!cy) missing += std::u16string(missing.empty() ? u"" : u"、") + u"y";
        if (!cc) missing += std::u16string(missing.empty() ? u"" : u"、") + u"浓度";
        return Fail(LineLabel(header.line) + u"：表头缺少 " + missing +
                    u" 列（表头应写 x、y、浓度，或 x、y、concentration）");
    }
    std::vector<FieldSample> samples;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvLine& row = rows[i];
        FieldSample s;
        s.line = row.line;
        const std::array<std::pair<std::size_t, double*>, 3> cells{
            {{*cx, &s.x}, {*cy, &s.y}, {*cc, &s.c}}};
        for (const auto& [column, into] : cells) {
            const std::u16string cell =
                column < row.cells.size() ? Trimmed(row.cells[column]) : u"";
            const std::optional<double> value = FiniteNumber(ToUtf8(cell));
            if (!value) {
                return Fail(LineLabel(row.line) + u"：第 " + FromUtf8(std::to_string(column + 1)) +
                            u" 列应为数字，而不是 " + QuotedToken(ToUtf8(cell)));
            }
            *into = *value;
        }
        if (s.c < 0.0) return Fail(LineLabel(row.line) + u"：浓度不能为负数");
        samples.push_back(s);
        if (samples.size() > kMostGridPoints) return Fail(u"点过多（超过 4000000 个）");
    }
    if (samples.empty()) return Fail(u"文件只有表头，没有浓度");
    return samples;
}

std::string CsvFieldText(const FileGrid& grid) {
    std::string text = "\xEF\xBB\xBFx,y,浓度(μg/m³)\r\n";
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const double v = grid.Value(c, r);
            if (std::isnan(v)) continue;
            text += ShortestNumber(grid.minX + c * grid.stepX) + "," +
                    ShortestNumber(grid.minY + r * grid.stepY) + "," + ShortestNumber(v) + "\r\n";
        }
    }
    return text;
}

}  // namespace quorvel::project
