#include "ui/core/project_tables.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>
#include <utility>

#include "calc/project/files/boundary_shape.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/unicode_text.h"
#include "ui/core/cell_number.h"

namespace quorvel {
namespace {

using K = ColumnKey;
using Kind = ColumnKind;

constexpr ColumnDefinition kSourceColumns[] = {
    {K::Id, u"编号", Kind::Text},
    {K::Name, u"名称", Kind::Text},
    {K::X, u"x (m)", Kind::Number},
    {K::Y, u"y (m)", Kind::Number},
    {K::Angle, u"方向 (°)", Kind::OptionalNumber},
    {K::Height, u"有效高度 (m)", Kind::Number},
    {K::Width, u"宽度 (m)", Kind::Number},
    {K::Length, u"长度 (m)", Kind::Number},
};
constexpr ColumnDefinition kEmissionColumns[] = {
    {K::Source, u"排放源", Kind::Text},
    {K::Pollutant, u"污染物", Kind::Text},
    {K::Rate, u"排放率", Kind::Number},
    {K::Unit, u"单位", Kind::UnitChoice},
    {K::Hourly, u"小时标准 (mg/m³)", Kind::OptionalNumber},
    {K::Daily, u"日均标准 (mg/m³)", Kind::OptionalNumber},
};
constexpr ColumnDefinition kBoundaryColumns[] = {
    {K::X, u"x (m)", Kind::Number},
    {K::Y, u"y (m)", Kind::Number},
};
constexpr ColumnDefinition kReceptorColumns[] = {
    {K::Name, u"名称", Kind::Text},
    {K::X, u"x (m)", Kind::Number},
    {K::Y, u"y (m)", Kind::Number},
};
constexpr ColumnDefinition kFieldColumns[] = {
    {K::Pollutant, u"污染物", Kind::Text},
    {K::File, u"文件", Kind::Text},
    {K::Format, u"格式", Kind::Text},
    {K::OffsetX, u"偏移 X (m)", Kind::OptionalNumber},
    {K::OffsetY, u"偏移 Y (m)", Kind::OptionalNumber},
    {K::Average, u"时段", Kind::Text},
};

using project::kLargestCoordinate;

std::u16string Quoted(std::u16string_view text) { return u"“" + std::u16string(text) + u"”"; }
std::u16string RowNumber(std::size_t index) { return FromUtf8(std::to_string(index + 1)); }

const std::u16string& Cell(const Table& table, std::size_t row, ColumnKey key) {
    static const std::u16string none;
    const std::optional<std::size_t> column = ColumnOf(table.id, key);
    if (!column || row >= table.rows.size()) return none;
    const std::vector<std::u16string>& cells = table.rows[row].cells;
    return *column < cells.size() ? cells[*column] : none;
}

std::optional<double> Number(const Table& table, std::size_t row, ColumnKey key) {
    return ReadCellNumber(Cell(table, row, key));
}

std::optional<project::RateUnit> UnitOf(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    for (std::size_t i = 0; i < kRateUnitTexts.size(); ++i) {
        if (text == kRateUnitTexts[i]) return static_cast<project::RateUnit>(i);
    }
    return std::nullopt;
}

bool IsCoordinate(ColumnKey key) {
    return key == K::X || key == K::Y || key == K::OffsetX || key == K::OffsetY;
}

bool IsFieldFormat(std::u16string_view text) {
    return std::find(project::kFieldFormats.begin(), project::kFieldFormats.end(), ToUtf8(text)) !=
           project::kFieldFormats.end();
}

// What no project file can hold in a field file row's text cell: its
// problem, or empty.
std::u16string UnusableFieldCell(const Table& table, std::size_t row, ColumnKey key) {
    const std::u16string& text = Cell(table, row, key);
    switch (key) {
        case K::Pollutant: {
            if (text.empty()) return u"请填写污染物的名称";
            for (std::size_t earlier = 0; earlier < row; ++earlier) {
                if (!IsBlankRow(table.rows[earlier]) && Cell(table, earlier, K::Pollutant) == text)
                    return u"第 " + RowNumber(earlier) + u" 行已有" + Quoted(text) +
                           u"的浓度场文件，每种污染物只能有一个";
            }
            return {};
        }
        case K::File:
            return IsBlankText(text) ? u"请填写浓度场文件" : std::u16string();
        case K::Format:
            if (text.empty() || IsFieldFormat(text)) return {};
            return Quoted(text) +
                   u"不是可用的格式，应为 aermod-plot、surfer 或 csv（留空则按文件内容判断）";
        default:
            return {};
    }
}

// What no project file can hold: the cell's problem, or empty.
std::u16string UnusableCell(const Table& table, std::size_t row, const ColumnDefinition& column) {
    const std::u16string& text = Cell(table, row, column.key);
    switch (column.kind) {
        case Kind::Number:
        case Kind::OptionalNumber: {
            if (IsBlankText(text)) {
                return column.kind == Kind::Number ? u"请填写数值" : std::u16string();
            }
            const std::optional<double> value = ReadCellNumber(text);
            if (!value) return Quoted(text) + u"不是数字";
            if (IsCoordinate(column.key) && std::fabs(*value) > kLargestCoordinate) {
                return u"坐标超出范围（绝对值不能超过 100000000）";
            }
            return {};
        }
        case Kind::UnitChoice:
            if (UnitOf(text)) return {};
            return IsBlankText(text) ? u"请选择单位（g/s、kg/hr 或 t/a）"
                                     : Quoted(text) + u"不是可用的单位，应为 g/s、kg/hr 或 t/a";
        case Kind::Text:
            break;
    }
    if (table.id == TableId::Fields) return UnusableFieldCell(table, row, column.key);
    if (table.id != TableId::Sources || column.key != K::Id) return {};
    if (IsBlankText(text)) return u"编号不能为空";
    for (std::size_t earlier = 0; earlier < row; ++earlier) {
        if (!IsBlankRow(table.rows[earlier]) && Cell(table, earlier, K::Id) == text) {
            return u"编号" + Quoted(text) + u"与第 " + RowNumber(earlier) +
                   u" 行重复，每个排放源的编号应各不相同";
        }
    }
    return {};
}

std::u16string AboveZero(std::optional<double> value, const char16_t* what) {
    if (!value || *value > 0.0) return {};
    return std::u16string(what) + u"应大于 0（现为 " + CellNumberText(*value) + u"）";
}

// The row faults of a source's cell that a run would refuse.
std::u16string SourceRowFault(const Table& sources, std::size_t row, ColumnKey key) {
    switch (key) {
        case K::Height:
            return AboveZero(Number(sources, row, key), u"有效高度");
        case K::Width:
        case K::Length: {
            std::u16string fault =
                AboveZero(Number(sources, row, key), key == K::Width ? u"宽度" : u"长度");
            if (!fault.empty()) return fault;
            const std::optional<double> width = Number(sources, row, K::Width);
            const std::optional<double> length = Number(sources, row, K::Length);
            if (!width || !length || !(*width > 0.0) || !(*length > 0.0)) return {};
            const double ratio = *width / *length;
            if (ratio < 0.1 || ratio > 10.0) {
                return u"宽度与长度之比应在 0.1 到 10 之间，超出这个限制的宜分成多个面源";
            }
            return {};
        }
        default:
            return {};
    }
}

bool HasSource(const Table& sources, const std::u16string& id) {
    for (std::size_t row = 0; row < sources.rows.size(); ++row) {
        if (!IsBlankRow(sources.rows[row]) && Cell(sources, row, K::Id) == id) return true;
    }
    return false;
}

// The row faults of an emission's cell that a run would refuse.
std::u16string EmissionRowFault(const ProjectTables& tables, std::size_t row, ColumnKey key) {
    const Table& emissions = tables.emissions;
    switch (key) {
        case K::Source: {
            const std::u16string& id = Cell(emissions, row, K::Source);
            if (id.empty()) return u"请填写排放源的编号";
            if (!HasSource(tables.sources, id)) return u"没有编号为" + Quoted(id) + u"的排放源";
            return {};
        }
        case K::Pollutant: {
            const std::u16string& pollutant = Cell(emissions, row, K::Pollutant);
            if (pollutant.empty()) return u"请填写污染物的名称";
            const std::u16string& source = Cell(emissions, row, K::Source);
            for (std::size_t earlier = 0; earlier < row; ++earlier) {
                if (!IsBlankRow(emissions.rows[earlier]) &&
                    Cell(emissions, earlier, K::Source) == source &&
                    Cell(emissions, earlier, K::Pollutant) == pollutant) {
                    return u"排放源" + Quoted(source) + u"在第 " + RowNumber(earlier) +
                           u" 行已有这种污染物，同一污染物只能列一次";
                }
            }
            return {};
        }
        case K::Rate:
            return AboveZero(Number(emissions, row, K::Rate), u"排放率");
        case K::Hourly:
        case K::Daily: {
            if (IsBlankText(Cell(emissions, row, K::Hourly)) &&
                IsBlankText(Cell(emissions, row, K::Daily))) {
                return u"未设置评价标准：请至少填写小时标准或日均标准";
            }
            return AboveZero(Number(emissions, row, key),
                             key == K::Hourly ? u"小时标准" : u"日均标准");
        }
        default:
            return {};
    }
}

// The row faults of a field file row's cell that the field would refuse.
std::u16string FieldRowFault(const ProjectTables& tables, std::size_t row, ColumnKey key) {
    if (key != K::Pollutant) return {};
    const std::u16string& pollutant = Cell(tables.fields, row, K::Pollutant);
    const Table& e = tables.emissions;
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        if (!IsBlankRow(e.rows[r]) && Cell(e, r, K::Pollutant) == pollutant) return {};
    }
    return u"污染物表中没有" + Quoted(pollutant) + u"的排放，浓度场文件无从确定评价标准";
}

std::u16string FirstCellFault(const Table& table, std::size_t row) {
    const std::span<const ColumnDefinition> columns = TableColumns(table.id);
    for (const ColumnDefinition& column : columns) {
        if (std::u16string problem = UnusableCell(table, row, column); !problem.empty()) {
            return std::u16string(TableTitle(table.id)) + u"表第 " + RowNumber(row) + u" 行" +
                   Quoted(column.header) + u"：" + problem;
        }
    }
    return {};
}

std::string Utf8Cell(const Table& table, std::size_t row, ColumnKey key) {
    return ToUtf8(Cell(table, row, key));
}

// The project, assuming every cell passed UnusableCell.
project::Project Convert(const ProjectTables& tables) {
    project::Project result;
    result.name = tables.name;
    result.location = tables.location;
    result.targetDistance = ReadCellNumber(tables.targetDistance);
    result.plan = tables.plan;
    result.cad = tables.cad;
    result.unknown = tables.unknown;
    const Table& s = tables.sources;
    for (std::size_t row = 0; row < s.rows.size(); ++row) {
        if (IsBlankRow(s.rows[row])) continue;
        project::Source source;
        source.id = Utf8Cell(s, row, K::Id);
        source.name = Utf8Cell(s, row, K::Name);
        source.centre = {Number(s, row, K::X).value_or(0.0), Number(s, row, K::Y).value_or(0.0)};
        source.angle = Number(s, row, K::Angle).value_or(0.0);
        source.height = Number(s, row, K::Height).value_or(0.0);
        source.width = Number(s, row, K::Width).value_or(0.0);
        source.length = Number(s, row, K::Length).value_or(0.0);
        source.unknown = s.rows[row].unknown;
        result.sources.push_back(std::move(source));
    }
    const Table& e = tables.emissions;
    for (std::size_t row = 0; row < e.rows.size(); ++row) {
        if (IsBlankRow(e.rows[row])) continue;
        project::Emission emission;
        emission.source = Utf8Cell(e, row, K::Source);
        emission.pollutant = Utf8Cell(e, row, K::Pollutant);
        emission.rate = Number(e, row, K::Rate).value_or(0.0);
        emission.unit = UnitOf(Cell(e, row, K::Unit)).value_or(project::RateUnit::GramsPerSecond);
        emission.hourly = Number(e, row, K::Hourly);
        emission.daily = Number(e, row, K::Daily);
        emission.unknown = e.rows[row].unknown;
        result.emissions.push_back(std::move(emission));
    }
    const Table& b = tables.boundary;
    for (std::size_t row = 0; row < b.rows.size(); ++row) {
        if (IsBlankRow(b.rows[row])) continue;
        result.boundary.push_back(
            {Number(b, row, K::X).value_or(0.0), Number(b, row, K::Y).value_or(0.0)});
    }
    const Table& r = tables.receptors;
    for (std::size_t row = 0; row < r.rows.size(); ++row) {
        if (IsBlankRow(r.rows[row])) continue;
        project::Receptor receptor;
        receptor.name = Utf8Cell(r, row, K::Name);
        receptor.position = {Number(r, row, K::X).value_or(0.0),
                             Number(r, row, K::Y).value_or(0.0)};
        receptor.unknown = r.rows[row].unknown;
        result.receptors.push_back(std::move(receptor));
    }
    const Table& f = tables.fields;
    for (std::size_t row = 0; row < f.rows.size(); ++row) {
        if (IsBlankRow(f.rows[row])) continue;
        project::FieldFile field;
        field.pollutant = Utf8Cell(f, row, K::Pollutant);
        field.file = Utf8Cell(f, row, K::File);
        field.format = Utf8Cell(f, row, K::Format);
        field.offset = {Number(f, row, K::OffsetX).value_or(0.0),
                        Number(f, row, K::OffsetY).value_or(0.0)};
        field.average = Utf8Cell(f, row, K::Average);
        field.rank = f.rows[row].rank;
        field.group = f.rows[row].group;
        field.unknown = f.rows[row].unknown;
        result.fields.push_back(std::move(field));
    }
    return result;
}

// The emission row's index among the project's emissions (blank rows left
// out), or nullopt for a blank row.
std::optional<std::size_t> EmissionIndex(const Table& emissions, std::size_t row) {
    if (row >= emissions.rows.size() || IsBlankRow(emissions.rows[row])) return std::nullopt;
    std::size_t index = 0;
    for (std::size_t earlier = 0; earlier < row; ++earlier) {
        index += IsBlankRow(emissions.rows[earlier]) ? 0 : 1;
    }
    return index;
}

// What the run's own check refuses of an emission row that passed every
// cell check here (e.g. a rate per area beyond the model's range): shown on
// the rate cell.
std::u16string RunCheckFault(const ProjectTables& tables, std::size_t row) {
    for (const ColumnDefinition& column : kEmissionColumns) {
        if (!EmissionRowFault(tables, row, column.key).empty()) return {};
    }
    const Table& sources = tables.sources;
    std::optional<std::size_t> sourceRow;
    const std::u16string& id = Cell(tables.emissions, row, K::Source);
    for (std::size_t r = 0; r < sources.rows.size() && !sourceRow; ++r) {
        if (!IsBlankRow(sources.rows[r]) && Cell(sources, r, K::Id) == id) sourceRow = r;
    }
    if (!sourceRow) return {};
    for (const ColumnDefinition& column : kSourceColumns) {
        if (!SourceRowFault(sources, *sourceRow, column.key).empty()) return {};
    }
    for (const TableId table : kAllTables) {
        const Table& t = tables.Of(table);
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            if (!IsBlankRow(t.rows[r]) && !FirstCellFault(t, r).empty()) return {};
        }
    }
    const project::Project converted = Convert(tables);
    const std::optional<std::size_t> index = EmissionIndex(tables.emissions, row);
    if (!index) return {};
    const Result<CalculationInputs> inputs = project::EmissionInputs(converted, *index);
    if (inputs) return {};
    // The message starts with the row's label and a colon; the cell needs
    // only the reason.
    const std::u16string& message = inputs.error();
    const std::size_t colon = message.find(u'：');
    return colon == std::u16string::npos ? message : message.substr(colon + 1);
}

}  // namespace

std::u16string_view TableTitle(TableId table) {
    switch (table) {
        case TableId::Sources:
            return u"排放源";
        case TableId::Emissions:
            return u"污染物";
        case TableId::Boundary:
            return u"厂界";
        case TableId::Receptors:
            return u"敏感目标";
        case TableId::Fields:
            break;
    }
    return u"预测浓度场";
}

std::span<const ColumnDefinition> TableColumns(TableId table) {
    switch (table) {
        case TableId::Sources:
            return kSourceColumns;
        case TableId::Emissions:
            return kEmissionColumns;
        case TableId::Boundary:
            return kBoundaryColumns;
        case TableId::Receptors:
            return kReceptorColumns;
        case TableId::Fields:
            break;
    }
    return kFieldColumns;
}

std::optional<std::size_t> ColumnOf(TableId table, ColumnKey key) {
    const std::span<const ColumnDefinition> columns = TableColumns(table);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].key == key) return i;
    }
    return std::nullopt;
}

Table& ProjectTables::Of(TableId table) {
    return const_cast<Table&>(std::as_const(*this).Of(table));
}

const Table& ProjectTables::Of(TableId table) const {
    switch (table) {
        case TableId::Sources:
            return sources;
        case TableId::Emissions:
            return emissions;
        case TableId::Boundary:
            return boundary;
        case TableId::Receptors:
            return receptors;
        case TableId::Fields:
            break;
    }
    return fields;
}

ProjectTables TablesFromProject(const project::Project& project) {
    ProjectTables tables;
    tables.name = project.name;
    tables.location = project.location;
    tables.plan = project.plan;
    tables.cad = project.cad;
    tables.unknown = project.unknown;
    const auto optional = [](const std::optional<double>& value) {
        return value ? CellNumberText(*value) : std::u16string();
    };
    tables.targetDistance = optional(project.targetDistance);
    for (const project::Source& s : project.sources) {
        tables.sources.rows.push_back(
            {{FromUtf8(s.id), FromUtf8(s.name), CellNumberText(s.centre.x),
              CellNumberText(s.centre.y), CellNumberText(s.angle), CellNumberText(s.height),
              CellNumberText(s.width), CellNumberText(s.length)},
             s.unknown});
    }
    for (const project::Emission& e : project.emissions) {
        const auto unit = static_cast<std::size_t>(e.unit);
        tables.emissions.rows.push_back(
            {{FromUtf8(e.source), FromUtf8(e.pollutant), CellNumberText(e.rate),
              unit < kRateUnitTexts.size() ? std::u16string(kRateUnitTexts[unit]) : u"",
              optional(e.hourly), optional(e.daily)},
             e.unknown});
    }
    for (const project::SitePoint& p : project.boundary) {
        tables.boundary.rows.push_back({{CellNumberText(p.x), CellNumberText(p.y)}, {}});
    }
    for (const project::Receptor& r : project.receptors) {
        tables.receptors.rows.push_back(
            {{FromUtf8(r.name), CellNumberText(r.position.x), CellNumberText(r.position.y)},
             r.unknown,
             {},
             {}});
    }
    for (const project::FieldFile& f : project.fields) {
        tables.fields.rows.push_back(
            {{FromUtf8(f.pollutant), FromUtf8(f.file), FromUtf8(f.format),
              CellNumberText(f.offset.x), CellNumberText(f.offset.y), FromUtf8(f.average)},
             f.unknown,
             f.rank,
             f.group});
    }
    return tables;
}

Result<project::Project> ProjectFromTables(const ProjectTables& tables) {
    try {
        for (const TableId table : kAllTables) {
            const Table& t = tables.Of(table);
            for (std::size_t row = 0; row < t.rows.size(); ++row) {
                if (IsBlankRow(t.rows[row])) continue;
                if (std::u16string fault = FirstCellFault(t, row); !fault.empty()) {
                    return Fail(std::move(fault));
                }
            }
        }
        if (std::u16string fault = TargetDistanceProblem(tables); !fault.empty()) {
            return Fail(u"目标距离：" + fault);
        }
        project::Project result = Convert(tables);
        if (std::u16string fault = project::BoundaryShapeFault(result.boundary); !fault.empty()) {
            return Fail(u"厂界：" + fault);
        }
        return result;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，无法整理项目数据!");
    }
}

std::u16string TargetDistanceProblem(const ProjectTables& tables) {
    const std::u16string& text = tables.targetDistance;
    if (IsBlankText(text)) return {};
    const std::optional<double> value = ReadCellNumber(text);
    if (!value) return Quoted(text) + u"不是数字";
    return AboveZero(value, u"目标距离");
}

std::u16string CellProblem(const ProjectTables& tables, TableId table, std::size_t row,
                           std::size_t column) {
    const Table& t = tables.Of(table);
    const std::span<const ColumnDefinition> columns = TableColumns(table);
    if (row >= t.rows.size() || column >= columns.size() || IsBlankRow(t.rows[row])) return {};
    try {
        const ColumnDefinition& definition = columns[column];
        if (std::u16string problem = UnusableCell(t, row, definition); !problem.empty()) {
            return problem;
        }
        if (table == TableId::Sources) return SourceRowFault(t, row, definition.key);
        if (table == TableId::Fields) return FieldRowFault(tables, row, definition.key);
        if (table != TableId::Emissions) return {};
        if (std::u16string fault = EmissionRowFault(tables, row, definition.key); !fault.empty()) {
            return fault;
        }
        return definition.key == K::Rate ? RunCheckFault(tables, row) : std::u16string();
    } catch (const std::bad_alloc&) {
        return u"内存不足，无法检查此项!";
    }
}

std::u16string BoundaryProblem(const ProjectTables& tables) {
    try {
        std::vector<project::SitePoint> vertices;
        const Table& b = tables.boundary;
        for (std::size_t row = 0; row < b.rows.size(); ++row) {
            if (IsBlankRow(b.rows[row])) continue;
            if (!FirstCellFault(b, row).empty()) return {};
            vertices.push_back(
                {Number(b, row, K::X).value_or(0.0), Number(b, row, K::Y).value_or(0.0)});
        }
        return project::BoundaryShapeFault(vertices);
    } catch (const std::bad_alloc&) {
        return u"内存不足，无法检查厂界!";
    }
}

std::vector<CellFault> AllCellProblems(const ProjectTables& tables) {
    std::vector<CellFault> faults;
    for (const TableId table : kAllTables) {
        const std::size_t columns = TableColumns(table).size();
        for (std::size_t row = 0; row < tables.Of(table).rows.size(); ++row) {
            for (std::size_t column = 0; column < columns; ++column) {
                std::u16string problem = CellProblem(tables, table, row, column);
                if (!problem.empty()) faults.push_back({table, row, column, std::move(problem)});
            }
        }
    }
    return faults;
}

TableRow EmptyRow(TableId table) {
    return TableRow{std::vector<std::u16string>(TableColumns(table).size()), {}};
}

std::size_t AddRows(Table& table, std::size_t at, std::size_t count) {
    at = std::min(at, table.rows.size());
    table.rows.insert(table.rows.begin() + static_cast<std::ptrdiff_t>(at), count,
                      EmptyRow(table.id));
    return at;
}

std::size_t DeleteRows(Table& table, std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::size_t deleted = 0;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it >= table.rows.size()) continue;
        table.rows.erase(table.rows.begin() + static_cast<std::ptrdiff_t>(*it));
        ++deleted;
    }
    return deleted;
}

bool IsBlankRow(const TableRow& row) {
    if (!row.unknown.empty() || !row.rank.empty() || !row.group.empty()) return false;
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const std::u16string& cell) { return IsBlankText(cell); });
}

}  // namespace quorvel
