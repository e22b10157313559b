// The calculator's answer file through our screening model, and the model's
// report through the calculator's reader and verdict.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/answer_file.h"
#include "calc/calculation_inputs.h"
#include "calc/report_reader.h"
#include "calc/unicode_text.h"
#include "calc/verdict.h"
#include "model/answer_files.h"
#include "model/answer_reader.h"
#include "model/model_run.h"
#include "model/report_writer.h"

namespace quorvel {
namespace {

struct ModelReport {
    std::string text;
    ModelResults results;
};

ModelReport RunModelOn(const std::string& answer_file) {
    const std::vector<std::string> lines = SplitLines(answer_file);
    std::size_t next = 0;
    const AnswerReading reading = ReadAnswers([&](std::string_view) -> std::optional<std::string> {
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
    });
    EXPECT_TRUE(reading.answers) << reading.error;
    if (!reading.answers) return {};
    ModelReport report;
    report.results = RunModel(*reading.answers);
    report.text = WriteReport(*reading.answers, report.results, {"12/08/26", "01:02:03"});
    return report;
}

// Field `index` of a row whose fields are separated by single blanks.
std::string Field(const std::u16string& row, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) start = row.find(u' ', start) + 1;
    return ToUtf8(row.substr(start, row.find(u' ', start) - start));
}

TEST(ModelReportReading, CalculatorReadsTheModelsReportOfItsDefaultAnswers) {
    const ModelReport report = RunModelOn(BuildAnswerFile(CalculationInputs{}));
    ASSERT_NE(report.text.find("REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS"), std::string::npos);

    std::int16_t row_count = -1;
    std::int16_t summary_count = -1;
    std::vector<std::u16string> rows;
    std::vector<std::u16string> summary;
    std::u16string error;
    ASSERT_TRUE(
        ParseScreenReport(FromUtf8(report.text), row_count, summary_count, rows, summary, error))
        << ToUtf8(error);
    ASSERT_EQ(row_count, 108);
    ASSERT_EQ(rows.size(), 108u);
    ASSERT_EQ(summary_count, 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double n = static_cast<double>(i);
        const double expected = i < 10 ? 10.0 * (n + 1) : 50.0 * (n - 9) + 100.0;
        EXPECT_EQ(Field(rows[i], 0), "0") << i;
        EXPECT_DOUBLE_EQ(std::stod(Field(rows[i], 1)), expected) << i;
        EXPECT_NEAR(std::stod(Field(rows[i], 2)) / report.results.discrete[i].worst.concentration,
                    1.0, 5e-4)
            << i;
    }
    const std::string top = ToUtf8(summary[0]);
    EXPECT_EQ(top.substr(0, top.find(',')), "SIMPLE TERRAIN");

    // 0.5 mg/m3 hourly: the first discrete distance beyond the farthest that reaches 500 ug/m3.
    std::size_t farthest = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (std::stod(Field(rows[i], 2)) >= 500.0) farthest = i;
    }
    ASSERT_GT(farthest, 0u);
    ASSERT_LT(farthest + 1, rows.size());
    const Result<std::u16string> verdict = FormVerdict(rows, summary, 500.0f);
    ASSERT_TRUE(verdict.ok()) << ToUtf8(verdict.error());
    const std::string beyond = Field(rows[farthest + 1], 1);
    EXPECT_NE(ToUtf8(verdict.value()).find("= " + beyond.substr(0, beyond.find('.')) + " m"),
              std::string::npos)
        << ToUtf8(verdict.value());
}

TEST(ModelReportReading, SummaryMaximumIsTheOneTheVerdictFallsBackOn) {
    // A standard above every concentration: the verdict reads the summary maximum.
    const ModelReport report = RunModelOn(BuildAnswerFile(CalculationInputs{}));
    std::int16_t row_count = 0;
    std::int16_t summary_count = 0;
    std::vector<std::u16string> rows;
    std::vector<std::u16string> summary;
    std::u16string error;
    ASSERT_TRUE(
        ParseScreenReport(FromUtf8(report.text), row_count, summary_count, rows, summary, error));
    ASSERT_EQ(summary.size(), 1u);
    const std::string fields = ToUtf8(summary[0]);
    const std::size_t first = fields.find(',');
    const std::size_t second = fields.find(',', first + 1);
    const double maximum = std::stod(fields.substr(first + 1, second - first - 1));
    EXPECT_NEAR(maximum / report.results.overall_maximum.worst.concentration, 1.0, 5e-4);
    const Result<std::u16string> below =
        FormVerdict(rows, summary, static_cast<float>(maximum * 2));
    ASSERT_TRUE(below.ok());
    EXPECT_EQ(below.value(), u"无超标点");
}

}  // namespace
}  // namespace quorvel
