#pragma once
// The files one model run leaves in the application directory, found and
// removed without regard to the letter case of their names.

#include <filesystem>
#include <string_view>

#include "calc/result.h"

namespace quorvel {

inline constexpr std::string_view kModelProgramName = "SCREEN3.EXE";
inline constexpr std::string_view kAnswerFileName = "Screen3.INP";
inline constexpr std::string_view kReportFileName = "Screen.OUT";
inline constexpr std::string_view kModelDataFileName = "screen.dat";

// Removes every regular file in `directory` whose name equals `name` when
// letter case is ignored. No such file is no failure; a file that cannot be
// removed gives an error text naming it.
Status RemoveFilesIgnoringCase(const std::filesystem::path& directory, std::string_view name);

// Removes the answer file, the report and the model's data file, in this order.
Status RemoveRunFiles(const std::filesystem::path& directory);

}  // namespace quorvel
