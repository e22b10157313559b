#pragma once
// The Surfer ASCII grid (DSAA): "DSAA", the column and row counts, the x,
// y and z ranges, then the values row by row from the south, each row from
// the west. A value of 1.70141e38 or more is a blank: no data.

#include <string>
#include <string_view>

#include "calc/project/field/files/file_grid.h"
#include "calc/result.h"

namespace quorvel::project {

// Values at or above this are a Surfer grid's blanks.
inline constexpr double kSurferBlank = 1.70141e38;

// The grid of a DSAA file's bytes (ug/m^3, in the file's coordinates, m),
// or a Chinese message naming the line (from 1) and the reason.
Result<FileGrid> ReadSurferGrid(std::string_view bytes);

// The bytes of a DSAA file of `grid` (its steps are taken from the grid;
// NaN values are written as blanks), lines ending in CR LF.
std::string SurferGridText(const FileGrid& grid);

}  // namespace quorvel::project
