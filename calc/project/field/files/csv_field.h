#pragma once
// A field as a CSV table: a header row naming the columns x, y and the
// concentration (in Chinese or English), then one point per row; comma
// separated, UTF-8 or GB18030.

#include <string>
#include <string_view>
#include <vector>

#include "calc/project/field/files/file_grid.h"
#include "calc/result.h"

namespace quorvel::project {

// The points of a CSV file's bytes. The header's names, in any order and
// any letter case, a unit in brackets after a name allowed: "x"/"x坐标"/"东坐标",
// "y"/"y坐标"/"北坐标", "c"/"conc"/"concentration"/"value"/"z"/"浓度"/"浓度值"/"预测浓度";
// other columns are left aside. A Chinese message naming the line (from 1)
// and the reason for a file that cannot be used.
Result<std::vector<FieldSample>> ReadCsvField(std::string_view bytes);

// The bytes of a CSV file of `grid`'s points: "x,y,浓度(μg/m³)", then one row
// per point with a value (UTF-8 with a byte-order mark, CR LF).
std::string CsvFieldText(const FileGrid& grid);

}  // namespace quorvel::project
