#pragma once
// One whole calculation without a window: test for the model, write its
// answers, run it, read and check its report, remove the run's files, read the
// report's tables and form the verdict.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "calc/calculation_inputs.h"
#include "calc/result.h"
#include "calc/run/process_launcher.h"
#include "calc/run_record.h"

namespace quorvel {

inline constexpr char16_t kModelMissingText[] = u"SCREEN3.EXE程序应该在本程序同一目录!";
inline constexpr char16_t kModelNotStartedText[] = u"不能启动运行Screen3.EXE!";
inline constexpr char16_t kModelFailedText[] = u"(Screen3)运行时出错:请检查报告文件";
// The second line of kModelFailedText when the run's files lie outside the
// application directory; the report's path follows.
inline constexpr char16_t kReportPlaceText[] = u"报告文件位置:";
inline constexpr char16_t kCompletionText[] = u"REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS";

// Reads the inputs from wherever they are held, at the moment it is called.
using InputsReader = std::function<CalculationInputs()>;

// The model's command line for an application directory: the model there,
// its answers from the answer file in the working directory.
std::u16string ModelCommandLine(const std::filesystem::path& appDir);
// The model's working directory: the run directory, where the answer file,
// the report and the model's data file lie.
std::u16string ModelWorkingDirectory(const std::filesystem::path& runDir);

// Runs one calculation with the model in `appDir` and returns the verdict
// text or the error text. The run's files lie in the directory that
// ChooseRunDirectory gives for `appDir`. The inputs are read twice: once before the model starts
// (source and location) and once after it has ended (the standard), so that a standard changed
// during the run counts. A report left by an earlier run is removed before the model starts, so
// that it is never read as this run's report. Never throws.
Result<std::u16string> RunScreen3(const std::filesystem::path& appDir,
                                  const InputsReader& readInputs, ProcessLauncher& launcher);

// As above; a successful run also replaces `lastRun` with its record, while a
// failed one leaves `lastRun` as it was.
Result<std::u16string> RunScreen3(const std::filesystem::path& appDir,
                                  const InputsReader& readInputs, ProcessLauncher& launcher,
                                  std::optional<RunRecord>& lastRun);

// As above, with the run's files in `runDir`, an existing directory this user
// may write, in place of the one ChooseRunDirectory gives: calculations that
// run at the same time each use a directory of their own.
Result<std::u16string> RunScreen3In(const std::filesystem::path& appDir,
                                    const std::filesystem::path& runDir,
                                    const InputsReader& readInputs, ProcessLauncher& launcher,
                                    std::optional<RunRecord>& lastRun);

}  // namespace quorvel
