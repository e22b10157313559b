#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/code_page.h"
#include "calc/report_reader.h"
#include "calc/verdict.h"
#include "fuzz/fuzz_targets.h"
#include "model/answer_files.h"
#include "model/answer_reader.h"
#include "model/model_run.h"
#include "model/report_writer.h"

namespace quorvel::fuzz {
namespace {

// Bounds on the work of one input, so that the fuzzer tries many: the model's
// cost grows with the number of distances and is checked per distance.
constexpr std::size_t kMostDiscreteDistances = 16;
constexpr double kFarthestAutomatedDistance = 5000.0;

}  // namespace

int AnswerRun(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitLines(text);
    std::size_t next = 0;
    std::size_t asked = 0;
    const AnswerReading reading = ReadAnswers([&](std::string_view) -> std::optional<std::string> {
        ++asked;
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
    });
    Require(asked <= lines.size() + 1, "no question after the input has ended");
    const RunStamp stamp{"12/08/26", "01:23:45"};
    if (!reading.answers) {
        Require(!reading.error.empty(), "a refused answer says why");
        const std::string report = WriteFailureReport(reading.error, stamp);
        Require(report.find(kCompletionText) == std::string::npos,
                "a refused run never looks finished");
        return 0;
    }

    ModelAnswers answers = *reading.answers;
    if (answers.discrete_distances.size() > kMostDiscreteDistances) {
        answers.discrete_distances.resize(kMostDiscreteDistances);
    }
    answers.automated_maximum = std::min(answers.automated_maximum, kFarthestAutomatedDistance);
    answers.automated_minimum = std::min(answers.automated_minimum, answers.automated_maximum);

    const ModelResults results = RunModel(answers);
    const std::string report = WriteReport(answers, results, stamp);
    (void)WriteDataFile(results);
    Require(report.find(kCompletionText) != std::string::npos, "a finished run says so");

    // The calculator must read every finished report of its own model.
    const Result<std::u16string> decoded = DecodeCodePage936(report);
    Require(decoded.ok(), "a report decodes");
    std::int16_t rowCount = 0;
    std::int16_t summaryCount = 0;
    std::vector<std::u16string> rows;
    std::vector<std::u16string> summaryRows;
    std::u16string errorText;
    const bool parsed =
        ParseScreenReport(decoded.value(), rowCount, summaryCount, rows, summaryRows, errorText);
    Require(parsed, "the calculator reads its model's report");
    Require(rows.size() == answers.discrete_distances.size(), "one row per discrete distance");
    Require(FormVerdict(rows, summaryRows, 500.0f).ok(), "a verdict from a finished report");
    return 0;
}

}  // namespace quorvel::fuzz
