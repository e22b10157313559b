#include "calc/run/run_screen3.h"

#include <cstdint>
#include <exception>
#include <new>
#include <vector>

#include "calc/answer_file.h"
#include "calc/derived_quantities.h"
#include "calc/file_names.h"
#include "calc/local_time.h"
#include "calc/report_reader.h"
#include "calc/report_title.h"
#include "calc/run/run_directory.h"
#include "calc/run/run_files.h"
#include "calc/text_helpers.h"
#include "calc/unicode_text.h"
#include "calc/verdict.h"

namespace quorvel {
namespace {

// The platform's directory separator: "\\" on Windows, "/" elsewhere.
constexpr char16_t kSeparator = static_cast<char16_t>(std::filesystem::path::preferred_separator);

// The directory as text, without a trailing separator.
std::u16string DirectoryText(const std::filesystem::path& appDir) {
    std::u16string text = PathText(appDir);
    while (text.size() > 1 && (text.back() == kSeparator || text.back() == u'/')) text.pop_back();
    return text;
}

// The report text of the run; empty when the model wrote no report.
Result<std::u16string> ReadReport(const std::filesystem::path& runDir) {
    auto report = FindFileIgnoringCase(runDir, kReportFileName);
    if (!report) return std::u16string();
    return LoadTextFile(*report);
}

// The failed run's text; a report outside the application directory is hard
// to find, so the text then says where it lies.
Failure ModelFailed(const std::filesystem::path& appDir, const std::filesystem::path& runDir) {
    std::u16string text = kModelFailedText;
    if (runDir != appDir) {
        const auto report = FindFileIgnoringCase(runDir, kReportFileName);
        text += u"\r\n";
        text += kReportPlaceText;
        text += report ? PathText(*report) : DirectoryText(runDir);
    }
    return Fail(text);
}

Result<RunRecord> RunSteps(const std::filesystem::path& appDir, const std::filesystem::path& runDir,
                           const InputsReader& readInputs, ProcessLauncher& launcher) {
    const CalculationInputs startInputs = readInputs();
    if (Status removed = RemoveFilesIgnoringCase(runDir, kReportFileName); !removed) {
        return Fail(removed.error());
    }
    // One answer file of the exact name, whatever the model's own name matching.
    if (Status removed = RemoveFilesIgnoringCase(runDir, kAnswerFileName); !removed) {
        return Fail(removed.error());
    }
    if (Status written = WriteAnswerFile(runDir / kAnswerFileName, startInputs); !written) {
        return Fail(written.error());
    }

    const Result<std::int32_t> ran =
        launcher.RunAndWait(ModelCommandLine(appDir), ModelWorkingDirectory(runDir), 0);
    if (!ran) return Fail(ran.error());
    if (ran.value() == 0) return Fail(kModelNotStartedText);

    std::u16string reportText;
    if (ran.value() == 1) {
        Result<std::u16string> report = ReadReport(runDir);
        if (!report) return Fail(report.error());
        reportText = std::move(report).value();
    }
    if (reportText.find(kCompletionText) == std::u16string::npos) {
        return ModelFailed(appDir, runDir);
    }

    if (Status removed = RemoveRunFiles(runDir); !removed) return Fail(removed.error());

    std::int16_t rowCount = 0;
    std::int16_t summaryCount = 0;
    std::vector<std::u16string> rows;
    std::vector<std::u16string> summaryRows;
    std::u16string readerError;
    if (!ParseScreenReport(reportText, rowCount, summaryCount, rows, summaryRows, readerError)) {
        return Fail(readerError);
    }
    RunRecord record;
    record.modelTitle = ModelTitleLine(reportText);
    reportText.clear();

    const CalculationInputs endInputs = readInputs();
    record.inputs = startInputs;
    record.inputs.HourlyChecked = endInputs.HourlyChecked;
    record.inputs.HourlyStandardText = endInputs.HourlyStandardText;
    record.inputs.DailyChecked = endInputs.DailyChecked;
    record.inputs.DailyStandardText = endInputs.DailyStandardText;
    record.comparisonStandard = ComparisonStandard(record.inputs);
    Result<Verdict> verdict = DecideVerdict(rows, summaryRows, record.comparisonStandard);
    if (!verdict) return Fail(verdict.error());
    record.verdict = std::move(verdict).value();
    record.rows = std::move(rows);
    record.summaryRows = std::move(summaryRows);
    record.finished = LocalTimeNow();
    return record;
}

}  // namespace

std::u16string ModelCommandLine(const std::filesystem::path& appDir) {
    return DirectoryText(appDir) + kSeparator + u"Screen3.exe <Screen3.INP";
}

std::u16string ModelWorkingDirectory(const std::filesystem::path& runDir) {
    return DirectoryText(runDir) + kSeparator;
}

Result<std::u16string> RunScreen3(const std::filesystem::path& appDir,
                                  const InputsReader& readInputs, ProcessLauncher& launcher) {
    std::optional<RunRecord> unused;
    return RunScreen3(appDir, readInputs, launcher, unused);
}

Result<std::u16string> RunScreen3(const std::filesystem::path& appDir,
                                  const InputsReader& readInputs, ProcessLauncher& launcher,
                                  std::optional<RunRecord>& lastRun) {
    try {
        if (!FindFileIgnoringCase(appDir, kModelProgramName)) return Fail(kModelMissingText);
        const Result<std::filesystem::path> chosen = ChooseRunDirectory(appDir);
        if (!chosen) return Fail(chosen.error());
        return RunScreen3In(appDir, chosen.value(), readInputs, launcher, lastRun);
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，计算中止!");
    } catch (const std::exception&) {
        return Fail(u"计算时出现意外错误，计算中止!");
    }
}

Result<std::u16string> RunScreen3In(const std::filesystem::path& appDir,
                                    const std::filesystem::path& runDir,
                                    const InputsReader& readInputs, ProcessLauncher& launcher,
                                    std::optional<RunRecord>& lastRun) {
    try {
        if (!FindFileIgnoringCase(appDir, kModelProgramName)) return Fail(kModelMissingText);
        Result<RunRecord> record = RunSteps(appDir, runDir, readInputs, launcher);
        if (!record) return Fail(record.error());
        std::u16string verdict = record.value().verdict.text;
        lastRun = std::move(record).value();
        return verdict;
    } catch (const std::bad_alloc&) {
        return Fail(u"内存不足，计算中止!");
    } catch (const std::exception&) {
        return Fail(u"计算时出现意外错误，计算中止!");
    }
}

}  // namespace quorvel
