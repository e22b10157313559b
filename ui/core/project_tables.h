#pragma once
// The project window's four tables and the project's own settings, as cell
// texts: what the user typed stays as typed (UTF-16), however wrong, and a
// cell that cannot be used is told by CellProblem. The project file's
// members this program does not know travel with their row, so that saving
// writes them back.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel {

enum class TableId { Sources, Emissions, Boundary, Receptors, Fields };
inline constexpr std::array<TableId, 5> kAllTables = {
    TableId::Sources, TableId::Emissions, TableId::Boundary, TableId::Receptors, TableId::Fields};

enum class ColumnKind {
    Text,            // any text
    Number,          // a number must be given
    OptionalNumber,  // a number, or nothing
    UnitChoice,      // one of kRateUnitTexts, picked from a drop-down
};

// What a column holds; also the key CSV headers are matched to.
enum class ColumnKey {
    Id,
    Name,
    X,
    Y,
    Angle,
    Height,
    Width,
    Length,
    Source,
    Pollutant,
    Rate,
    Unit,
    Hourly,
    Daily,
    File,     // a field file's name, relative to the project file's folder or absolute
    Format,   // a field file's format: "aermod-plot", "surfer", "csv" or blank
    OffsetX,  // the field file's coordinates minus the site's, m
    OffsetY,
    Average,  // the field's averaging period ("1-HR", "24-HR"); blank: the file's own
};

struct ColumnDefinition {
    ColumnKey key;
    std::u16string_view header;  // the column's header text
    ColumnKind kind;
};

// The rate units in the order of project::RateUnit.
inline constexpr std::array<std::u16string_view, 3> kRateUnitTexts = {u"g/s", u"kg/hr", u"t/a"};

// "排放源", "污染物", "厂界", "敏感目标", "预测浓度场".
std::u16string_view TableTitle(TableId table);
// The table's columns, left to right.
std::span<const ColumnDefinition> TableColumns(TableId table);
// The column of `key` in `table`, or nullopt when the table has none.
std::optional<std::size_t> ColumnOf(TableId table, ColumnKey key);

struct TableRow {
    TableRow(std::vector<std::u16string> cells_ = {}, project::UnknownMembers unknown_ = {},
             std::string rank_ = {}, std::string group_ = {})
        : cells(std::move(cells_)),
          unknown(std::move(unknown_)),
          rank(std::move(rank_)),
          group(std::move(group_)) {}

    std::vector<std::u16string> cells;  // one per column
    project::UnknownMembers unknown;    // the row's members this program does not know
    // A field file row's plot file rank and source group (UTF-8), kept as
    // the file gave them; the table does not show them.
    std::string rank;
    std::string group;
    friend bool operator==(const TableRow&, const TableRow&) = default;
};

struct Table {
    TableId id = TableId::Sources;
    std::vector<TableRow> rows;
    friend bool operator==(const Table&, const Table&) = default;
};

// A project as the window edits it. What the tables do not show (the name,
// the plan, the tie to a drawing, the project's unknown members) is carried
// as it came.
struct ProjectTables {
    std::string name;  // UTF-8
    project::Location location = project::Location::Urban;
    Table sources{TableId::Sources, {}};
    Table emissions{TableId::Emissions, {}};
    Table boundary{TableId::Boundary, {}};
    Table receptors{TableId::Receptors, {}};
    Table fields{TableId::Fields, {}};  // the pollutant fields read from files
    std::u16string targetDistance;      // m, as typed; blank for none
    std::optional<project::Plan> plan;
    std::optional<project::CadTie> cad;
    project::UnknownMembers unknown;

    Table& Of(TableId table);
    const Table& Of(TableId table) const;
    friend bool operator==(const ProjectTables&, const ProjectTables&) = default;
};

// The project's rows as cell texts: numbers in their shortest exact form,
// the unit as its kRateUnitTexts text, a standard that is not given as an
// empty cell.
ProjectTables TablesFromProject(const project::Project& project);

// The project the tables stand for; an empty angle is 0. Rows whose cells are all blank (and that
// carry no unknown members) are left out. Faults of single rows (values of 0
// or less, a missing standard, an emission naming no source) are kept in the
// project: the run gives those rows their message. What a project file
// cannot hold refuses the whole: a number that is not a number, an empty
// required number, a unit not in the list, an empty or repeated source id,
// a coordinate beyond the file's range, a boundary that crosses itself, a
// field file row without pollutant or file, with an unknown format or a
// pollutant another row already has. The
// message names the table, the row (from 1) and the column, with the
// cell's problem.
Result<project::Project> ProjectFromTables(const ProjectTables& tables);

// Why the cell at `row` and `column` (from 0) cannot be used, in Chinese, for
// its tooltip; empty when it can, and for a cell outside the table or in a
// blank row. Besides what ProjectFromTables refuses, this names the row
// faults the run would refuse in that cell: a height, width, length, rate or
// standard of 0 or less, sides more than 10 times apart (on width and
// length), no standard (on both standard cells), an emission naming no
// source, a pollutant its source already has in an earlier row, an empty
// pollutant name, a field file for a pollutant no emission has.
std::u16string CellProblem(const ProjectTables& tables, TableId table, std::size_t row,
                           std::size_t column);

// A cell that cannot be used, and why.
struct CellFault {
    TableId table = TableId::Sources;
    std::size_t row = 0;     // from 0
    std::size_t column = 0;  // from 0
    std::u16string problem;
};

// Why the target distance's text cannot be used, in Chinese; empty when it
// is blank (no target) or a number above 0.
std::u16string TargetDistanceProblem(const ProjectTables& tables);

// Why the boundary's vertices, each a usable number, cannot be a plant
// boundary (fewer than 3, no area, crossing itself), in Chinese; empty when
// they can or when a vertex is not yet usable.
std::u16string BoundaryProblem(const ProjectTables& tables);

// Every cell with a problem, table by table, row by row, left to right.
std::vector<CellFault> AllCellProblems(const ProjectTables& tables);

// A row with empty cells for every column of `table`.
TableRow EmptyRow(TableId table);
// Inserts `count` empty rows before `at` (at most rows.size(): appends);
// returns the index of the first new row.
std::size_t AddRows(Table& table, std::size_t at, std::size_t count = 1);
// Deletes the rows at the given indices (any order, repeats and indices past
// the end ignored); returns how many went.
std::size_t DeleteRows(Table& table, std::vector<std::size_t> rows);
// True when every cell of the row is blank and it carries no unknown members.
bool IsBlankRow(const TableRow& row);

}  // namespace quorvel
