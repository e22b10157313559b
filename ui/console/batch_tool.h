#pragma once
// The console tool's work, without the platform: reads the command line,
// computes the project, prints progress and a table per source, and writes
// the results file, the sheet and the result drawing when asked.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "calc/project/batch/batch_run.h"

namespace quorvel {

// Exit codes.
inline constexpr int kBatchAllComputed = 0;  // every row computed
inline constexpr int kBatchSomeFailed = 1;   // some rows failed; their errors are in the results
inline constexpr int kBatchUnusable = 2;     // the file or the command line cannot be used

// `arguments` without the program's name:
//   PROJECT.qvproj [--results FILE.json|-] [--sheet FILE.html] [--no-limits] [--no-field]
//   [--dxf FILE.dxf]
// Progress and the table go to `out` (to `err` when the results go to "-"),
// messages to `err`, all in UTF-8. `appDir` holds the model program.
int RunBatchTool(const std::vector<std::u16string>& arguments, const std::filesystem::path& appDir,
                 const project::LauncherFactory& makeLauncher, std::ostream& out,
                 std::ostream& err);

}  // namespace quorvel
