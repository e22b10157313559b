#pragma once
// A pollutant's field read from a file as the project's `fields` names it:
// the file's format told, a plot file's period, rank and group picked, its
// points put on regular grids in site coordinates.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/field/files/file_grid.h"
#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project {

struct FileField {
    std::string format;           // "aermod-plot", "surfer" or "csv"
    std::string average;          // "1-HR" or "24-HR"
    std::vector<FileGrid> grids;  // in site coordinates, finest first
    std::u16string note;          // receptors of a plot file left aside; empty when none
};

// "aermod-plot", "surfer" or "csv" as the bytes tell: a first line "DSAA"
// (or a binary grid's "DSBB"/"DSRB") is Surfer's, a first line beginning
// with "*" a plot file's, anything else a CSV table.
std::string FormatOfContent(std::string_view bytes);

// The field of the file's `bytes` as `entry` asks: its format (or the
// content's), the grids moved by -entry.offset into site coordinates. A plot
// file's records are narrowed to entry.average, rank and group where given;
// several periods, ranks or groups left are refused with what the file
// holds. The averaging period must be 1-HR or 24-HR. A Chinese message naming
// the line (when there is one) and the reason, without the file's name.
Result<FileField> ReadFieldFile(std::string_view bytes, const FieldFile& entry);

// The same for the file itself: entry.file (UTF-8) relative to
// `projectFolder` unless absolute. The message names the file as the project
// gives it.
Result<FileField> LoadFieldFile(const std::filesystem::path& projectFolder, const FieldFile& entry);

}  // namespace quorvel::project
