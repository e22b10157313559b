#pragma once
// Writing each pollutant's combined field into a folder, as a Surfer ASCII
// grid (DSAA) and a CSV table, to be plotted elsewhere.

#include <filesystem>
#include <string>
#include <vector>

#include "calc/project/field/field_export.h"
#include "calc/result.h"

namespace quorvel::project {

// A file name (without extension, UTF-8) from a pollutant's name that both
// Windows and Linux accept: characters a file name cannot hold (< > : " / \ |
// ? * and control characters) become "_", trailing dots and spaces go, a
// name Windows reserves (CON, NUL, COM1, ...) gets a leading "_", an empty
// one becomes "pollutant".
std::string SafeFileStem(const std::string& pollutant);

// Writes "<stem>.grd" (DSAA) and "<stem>.csv" for each grid into `folder`
// (created when missing), each atomically; stems that would repeat get
// "-2", "-3", .... The files written, or a Chinese message naming the file
// or folder and the reason.
Result<std::vector<std::filesystem::path>> WriteFieldGrids(const std::filesystem::path& folder,
                                                           const std::vector<PollutantGrid>& grids);

// Creates `folder` when missing; a Chinese message naming it and the reason
// when it cannot be or is not a folder.
Status PrepareFieldFolder(const std::filesystem::path& folder);

}  // namespace quorvel::project
