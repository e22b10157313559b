#include "model/report_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/answer_files.h"

namespace quorvel {
namespace {

ResultRow Row(double distance, double conc, Stability stability, double angle) {
    ResultRow row;
    row.distance = distance;
    row.worst.concentration = conc;
    row.worst.met = MakeMetCondition(stability, 1.0, 15.0, LandUse::Urban);
    row.worst.angle_deg = angle;
    return row;
}

struct Sample {
    ModelAnswers answers;
    ModelResults results;
};

Sample MakeSample() {
    Sample s;
    s.answers.title = "test run";
    s.answers.source = {0.001, 15.0, 100.0, 100.0, 0.0, LandUse::Urban};
    s.answers.automated = true;
    s.answers.discrete = true;
    s.results.automated = {Row(1.0, 773.6, Stability::A, 45.0),
                           Row(100.0, 2813.0, Stability::C, 45.0)};
    s.results.automated_maximum = Row(201.0, 2983.0, Stability::E, 45.0);
    s.results.discrete = {Row(10.0, 0.01234, Stability::A, 0.0),
                          Row(20.0, 123456.0, Stability::F, 90.0),
                          Row(30.0, 0.0, Stability::D, 12.7)};
    s.results.overall_maximum = Row(20.0, 123456.0, Stability::F, 90.0);
    return s;
}

std::size_t LineIndexOf(const std::vector<std::string>& lines, const std::string& text,
                        std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) return i;
    }
    return lines.size();
}

// Characters 2 to 4 of a line, as far as it has them.
std::string Chars2To4(const std::string& line) { return line.size() > 1 ? line.substr(1, 3) : ""; }

TEST(ReportWriter, RowsAreSixtyFourCharactersWithEveryValueInItsColumns) {
    const ResultRow extreme = Row(100000.0, 9.87654e35, Stability::F, 90.0);
    ResultRow high = extreme;
    high.worst.met.mixing_height = 9999.0 + 1.0;
    const std::string row = FormatTableRow(high, 9999.0);
    ASSERT_EQ(row.size(), 64u);
    EXPECT_EQ(row.substr(0, 8), " 100000.");
    EXPECT_EQ(row.substr(10, 11), " 0.9877E+36");
    EXPECT_EQ(row.substr(21, 5), "    6");
    EXPECT_EQ(row.substr(49, 8), " 9999.00");
    EXPECT_EQ(row.substr(57, 7), "    90.");
    EXPECT_EQ(FormatTableRow(Row(10.0, 2901.0, Stability::C, 44.6), 15.0),
              "     10.    2901.        3     1.0    1.1   320.0   15.00    45.");
}

TEST(ReportWriter, LayoutThatTheCalculatorsReaderCounts) {
    const Sample s = MakeSample();
    const std::string report = WriteReport(s.answers, s.results, {"12/08/26", "01:02:03"});
    // CR LF everywhere, no bare LF.
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\n') {
            ASSERT_TRUE(i > 0 && report[i - 1] == '\r') << i;
        }
    }
    ASSERT_TRUE(report.ends_with("\r\n"));
    const std::vector<std::string> lines = SplitLines(report);

    const std::size_t discrete = LineIndexOf(lines, "*** SCREEN DISCRETE DISTANCES ***");
    ASSERT_LT(discrete, lines.size());
    EXPECT_EQ(LineIndexOf(lines, "*** SCREEN DISCRETE DISTANCES ***", discrete + 1), lines.size());
    const std::size_t terrain = LineIndexOf(lines, "*** TERRAIN HEIGHT OF", discrete);
    // Rows begin on the fifth line after the terrain heading and end at a line
    // that is not 64 characters long.
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[terrain + 5 + i].size(), 64u) << i;
    }
    EXPECT_NE(lines[terrain + 8].size(), 64u);
    EXPECT_NE(lines[terrain + 5].find(" 0.1234E-01"), std::string::npos);

    const std::size_t summary = LineIndexOf(lines, "*** SUMMARY OF SCREEN MODEL RESULTS ***");
    ASSERT_LT(summary, lines.size());
    const std::string& top = lines[summary + 6];
    ASSERT_GE(top.size(), 44u);
    EXPECT_EQ(top.substr(1, 14), "SIMPLE TERRAIN");
    EXPECT_EQ(top.substr(19, 11), " 0.1235E+06");
    EXPECT_EQ(top.substr(32, 8), "     20.");
    EXPECT_EQ(top.substr(43), "      0.");
    // Then only short or blank-started lines until the closing banner's "***".
    std::size_t i = summary + 7;
    while (i < lines.size() && Chars2To4(lines[i]) != "***") {
        EXPECT_TRUE(lines[i].size() <= 10 || Chars2To4(lines[i]) == "   ") << lines[i];
        ++i;
    }
    ASSERT_LT(i + 1, lines.size());
    EXPECT_NE(lines[i + 1].find(kCompletionText), std::string::npos);
    EXPECT_EQ(report.find(kCompletionText), report.rfind(kCompletionText));
}

TEST(ReportWriter, TablesOnlyForTheDistancesAskedFor) {
    Sample s = MakeSample();
    s.answers.automated = false;
    s.results.automated.clear();
    s.results.automated_maximum.reset();
    const std::string report = WriteReport(s.answers, s.results, {"d", "t"});
    EXPECT_EQ(report.find("AUTOMATED"), std::string::npos);
    EXPECT_EQ(report.find("MAXIMUM 1-HR"), std::string::npos);
    EXPECT_NE(report.find("*** SCREEN DISCRETE DISTANCES ***"), std::string::npos);
    EXPECT_EQ(WriteDataFile(s.results), "");
}

TEST(ReportWriter, DataFileAndFailureReport) {
    const Sample s = MakeSample();
    EXPECT_EQ(WriteDataFile(s.results), "      1.00  7.73600E+02\r\n    100.00  2.81300E+03\r\n");
    const std::string failed =
        WriteFailureReport("Answer 3 (emission rate): expected x.", {"d", "t"});
    EXPECT_EQ(failed.find(kCompletionText), std::string::npos);
    EXPECT_NE(failed.find("Answer 3 (emission rate)"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
