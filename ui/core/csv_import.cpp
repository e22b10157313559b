#include "ui/core/csv_import.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "calc/csv_text.h"
#include "calc/text_encoding_guess.h"
#include "calc/unicode_text.h"
#include "ui/core/cell_number.h"

namespace quorvel {
namespace {

struct HeaderName {
    ColumnKey key;
    std::u16string_view chinese;
    std::u16string_view english;
};

constexpr HeaderName kHeaderNames[] = {
    {ColumnKey::Id, u"编号", u"id"},
    {ColumnKey::Name, u"名称", u"name"},
    {ColumnKey::X, u"x", u"x"},
    {ColumnKey::Y, u"y", u"y"},
    {ColumnKey::Angle, u"方向", u"angle"},
    {ColumnKey::Height, u"有效高度", u"height"},
    {ColumnKey::Width, u"宽度", u"width"},
    {ColumnKey::Length, u"长度", u"length"},
    {ColumnKey::Source, u"排放源", u"source"},
    {ColumnKey::Pollutant, u"污染物", u"pollutant"},
    {ColumnKey::Rate, u"排放率", u"rate"},
    {ColumnKey::Unit, u"单位", u"unit"},
    {ColumnKey::Hourly, u"小时标准", u"hourly"},
    {ColumnKey::Daily, u"日均标准", u"daily"},
};

using CsvRows = std::vector<std::vector<std::u16string>>;

std::u16string Decimal(std::size_t n) { return FromUtf8(std::to_string(n)); }
std::u16string Quoted(std::u16string_view text) { return u"“" + std::u16string(text) + u"”"; }

bool IsBlankChar(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

// A header cell reduced to its name: blanks and a bracketed unit dropped,
// ASCII letters in lower case.
std::u16string NameOf(std::u16string_view header) {
    const std::size_t bracket = header.find_first_of(u"(（");
    if (bracket != std::u16string_view::npos) header = header.substr(0, bracket);
    while (!header.empty() && IsBlankChar(header.front())) header.remove_prefix(1);
    while (!header.empty() && IsBlankChar(header.back())) header.remove_suffix(1);
    std::u16string name(header);
    for (char16_t& c : name) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return name;
}

std::optional<ColumnKey> KeyOf(std::u16string_view header) {
    const std::u16string name = NameOf(header);
    for (const HeaderName& known : kHeaderNames) {
        if (name == known.chinese || name == known.english) return known.key;
    }
    return std::nullopt;
}

std::u16string KnownNames() {
    std::u16string names;
    for (const HeaderName& known : kHeaderNames) {
        if (!names.empty()) names += u"、";
        names += known.chinese;
        if (known.english != known.chinese) names += u"/" + std::u16string(known.english);
    }
    return names;
}

// The smallest table with every key, or nullopt.
std::optional<TableId> TableWith(const std::vector<ColumnKey>& keys) {
    std::optional<TableId> best;
    for (const TableId table : kAllTables) {
        const bool hasAll = std::all_of(keys.begin(), keys.end(), [table](ColumnKey key) {
            return ColumnOf(table, key).has_value();
        });
        if (hasAll && (!best || TableColumns(table).size() < TableColumns(*best).size())) {
            best = table;
        }
    }
    return best;
}

}  // namespace

Result<ImportedTable> ImportCsv(std::string_view bytes) {
    try {
        Result<std::u16string> text = DecodeUtf8OrGb18030(bytes);
        if (!text) return Fail(u"无法读取CSV文件：" + text.error());
        const std::vector<CsvLine> lines = ParseCsv(text.value());
        if (lines.empty()) return Fail(u"CSV文件是空的，没有可导入的内容。");

        // The header: which table column each file column fills.
        const std::vector<std::u16string>& header = lines.front().cells;
        std::vector<std::optional<ColumnKey>> keyOfColumn(header.size());
        std::vector<ColumnKey> keys;
        for (std::size_t c = 0; c < header.size(); ++c) {
            if (IsBlankText(header[c])) continue;  // allowed only above empty cells, see below
            const std::optional<ColumnKey> key = KeyOf(header[c]);
            if (!key) {
                return Fail(u"CSV文件第 " + Decimal(c + 1) + u" 列的列名" + Quoted(header[c]) +
                            u"无法识别。可用的列名：" + KnownNames() + u"。");
            }
            const auto earlier = std::find(keys.begin(), keys.end(), *key);
            if (earlier != keys.end()) {
                return Fail(u"CSV文件的列名" + Quoted(header[c]) + u"出现了不止一次（第 " +
                            Decimal(c + 1) + u" 列）。");
            }
            keys.push_back(*key);
            keyOfColumn[c] = *key;
        }
        if (keys.empty()) return Fail(u"CSV文件的第一行应为列名，但其中没有列名。");
        const std::optional<TableId> table = TableWith(keys);
        if (!table) {
            std::u16string names;
            for (const std::u16string& h : header) {
                if (IsBlankText(h)) continue;
                names += (names.empty() ? u"" : u"、") + Quoted(h);
            }
            return Fail(u"CSV文件的列" + names +
                        u"不属于同一个表格（排放源、污染物、厂界或敏感目标）。");
        }

        ImportedTable imported;
        imported.table = *table;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const CsvLine& line = lines[i];
            TableRow row = EmptyRow(*table);
            for (std::size_t c = 0; c < line.cells.size(); ++c) {
                const bool named = c < keyOfColumn.size() && keyOfColumn[c];
                if (!named) {
                    if (IsBlankText(line.cells[c])) continue;
                    return Fail(u"CSV文件第 " + Decimal(line.line) + u" 行第 " + Decimal(c + 1) +
                                u" 列有内容" + Quoted(line.cells[c]) + u"，但这一列没有列名。");
                }
                row.cells[*ColumnOf(*table, *keyOfColumn[c])] = line.cells[c];
            }
            imported.rows.push_back(std::move(row));
        }
        return imported;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法导入CSV文件!");
    }
}

std::size_t AppendImported(ProjectTables& tables, ImportedTable imported) {
    Table& table = tables.Of(imported.table);
    while (!table.rows.empty() && IsBlankRow(table.rows.back())) table.rows.pop_back();
    const std::size_t first = table.rows.size();
    for (TableRow& row : imported.rows) table.rows.push_back(std::move(row));
    return first;
}

}  // namespace quorvel
