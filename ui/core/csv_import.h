#pragma once
// 导入CSV: one of the window's tables from a CSV file, as spreadsheets save
// them, in UTF-8 (with or without a byte-order mark) or GB18030.

#include <string>
#include <string_view>
#include <vector>

#include "calc/result.h"
#include "ui/core/project_tables.h"

namespace quorvel {

struct ImportedTable {
    TableId table = TableId::Sources;
    std::vector<TableRow> rows;  // cells in the table's column order, as the file has them
};

// The table of a CSV file's bytes. The first non-blank line names the
// columns, in any order and in Chinese or English ("编号"/"id", "名称"/"name",
// "x", "y", "方向"/"angle", "有效高度"/"height", "宽度"/"width",
// "长度"/"length", "排放源"/"source", "污染物"/"pollutant", "排放率"/"rate",
// "单位"/"unit", "小时标准"/"hourly", "日均标准"/"daily"; letters in any case,
// a unit in brackets after the name such as "x (m)" or "小时标准（mg/m³）"
// allowed). The table is the smallest one that has every named column
// ("x, y" is the boundary, "名称, x, y" the receptors); columns it has and
// the file does not are left empty. Cells are separated by commas, quoted
// cells may hold commas, quotes ("") and line breaks. Blank lines are left
// out. A Chinese message when the file is empty, its text is neither UTF-8
// nor GB18030, a column name is unknown, repeated or missing above a
// column with cells, the columns belong to no one table, or a line has
// cells beyond the named columns.
Result<ImportedTable> ImportCsv(std::string_view bytes);

// Puts the imported rows into `tables`: after the table's last row that is
// not blank (blank rows at its end go), so that nothing already typed is
// lost. Returns the index of the first imported row.
std::size_t AppendImported(ProjectTables& tables, ImportedTable imported);

}  // namespace quorvel
