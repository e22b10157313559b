#include "calc/run/run_screen3.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "calc/answer_file.h"
#include "calc/run/run_files.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/fake_launcher.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test_support::CraftedReport;
using test_support::FakeLauncher;
using test_support::LaunchCall;
using test_support::ReportText;

constexpr char16_t kSeparator = static_cast<char16_t>(fs::path::preferred_separator);
constexpr char16_t kVerdictPrefix[] = u"Quorvel 建议距离（距面源中心） = ";

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> FileNames(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Rows for the 108 distances of the answer file, each with its concentration.
std::vector<std::pair<double, double>> Rows(const std::function<double(double)>& concentration) {
    std::vector<double> distances;
    for (double d = 10; d <= 100; d += 10) distances.push_back(d);
    for (double d = 150; d <= 5000; d += 50) distances.push_back(d);
    std::vector<std::pair<double, double>> rows;
    for (double d : distances) rows.emplace_back(d, concentration(d));
    return rows;
}

class RunScreen3Test : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("quorvel-run-" + std::to_string(seed()));
        fs::create_directories(dir_);
        WriteFile(dir_ / "SCREEN3.EXE", "");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A model that writes the given report text as Screen.OUT, and screen.dat.
    FakeLauncher::Model Writes(std::string report, std::int32_t result = 1) {
        return
            [this, report = std::move(report), result](const LaunchCall&) -> Result<std::int32_t> {
                answerSeen_ = ReadFile(dir_ / "Screen3.INP");
                WriteFile(dir_ / "Screen.OUT", report);
                WriteFile(dir_ / "screen.dat", "data");
                return result;
            };
    }

    Result<std::u16string> Run(FakeLauncher& launcher) {
        return RunScreen3(
            dir_,
            [this] {
                ++reads_;
                return reads_ == 1 ? inputs_ : after_;
            },
            launcher, lastRun_);
    }

    fs::path dir_;
    CalculationInputs inputs_;  // as read before the model starts
    CalculationInputs after_;   // as read after it has ended
    int reads_ = 0;
    std::string answerSeen_;
    std::optional<RunRecord> lastRun_;
};

TEST_F(RunScreen3Test, StartsTheModelWithItsCommandLineOnAFreshAnswerFile) {
    inputs_.WidthText = u"50 m";
    WriteFile(dir_ / "screen3.inp", "left over");
    FakeLauncher launcher(Writes(ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}})));

    const auto verdict = Run(launcher);

    ASSERT_TRUE(verdict.ok()) << ToUtf8(verdict.error());
    ASSERT_EQ(launcher.calls.size(), 1u);
    const std::u16string dir = PathText(dir_);
    EXPECT_EQ(launcher.calls[0].cmdline, dir + kSeparator + u"Screen3.exe <Screen3.INP");
    EXPECT_EQ(launcher.calls[0].curDir, dir + kSeparator);
    EXPECT_EQ(launcher.calls[0].swShow, 0);
    EXPECT_EQ(answerSeen_, BuildAnswerFile(inputs_));
    EXPECT_EQ(FileNames(dir_), std::set<std::string>{"SCREEN3.EXE"});
}

TEST_F(RunScreen3Test, CommandLineHasNoDoubledSeparator) {
    EXPECT_EQ(ModelCommandLine("/opt/quorvel/"),
              u"/opt/quorvel" + std::u16string(1, kSeparator) + u"Screen3.exe <Screen3.INP");
    EXPECT_EQ(ModelWorkingDirectory("/opt/quorvel"),
              u"/opt/quorvel" + std::u16string(1, kSeparator));
    // A Chinese directory reaches the command line whole.
    const fs::path chinese = dir_ / PathFromText(u"模型 目录");
    EXPECT_EQ(ModelCommandLine(chinese),
              PathText(chinese) + kSeparator + u"Screen3.exe <Screen3.INP");
}

TEST_F(RunScreen3Test, ModelMissingWritesNothing) {
    fs::remove(dir_ / "SCREEN3.EXE");
    fs::create_directory(dir_ / "SCREEN3.EXE");  // a directory of that name does not count
    FakeLauncher launcher(Writes(""));

    const auto verdict = Run(launcher);

    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), kModelMissingText);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(FileNames(dir_), std::set<std::string>{"SCREEN3.EXE"});
}

TEST_F(RunScreen3Test, ModelFoundWhateverTheLetterCase) {
    fs::rename(dir_ / "SCREEN3.EXE", dir_ / "Screen3.exe");
    FakeLauncher launcher(Writes(ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}})));
    EXPECT_TRUE(Run(launcher).ok());
}

TEST_F(RunScreen3Test, ModelThatCannotStartLeavesTheAnswerFile) {
    FakeLauncher launcher([](const LaunchCall&) -> Result<std::int32_t> { return 0; });
    const auto verdict = Run(launcher);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), kModelNotStartedText);
    EXPECT_TRUE(fs::exists(dir_ / "Screen3.INP"));
}

TEST_F(RunScreen3Test, RunnerThatCannotBeCreatedGivesItsText) {
    FakeLauncher launcher(
        [](const LaunchCall&) -> Result<std::int32_t> { return Fail(u"找不到组件"); });
    const auto verdict = Run(launcher);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), u"找不到组件");
}

TEST_F(RunScreen3Test, ReportWithoutCompletionTextKeepsTheRunFiles) {
    const std::string complete = ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}});
    std::string lowerCase = complete;
    const auto at = lowerCase.find("REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS");
    lowerCase.replace(at, 45, "remember to include background concentrations");
    for (const auto& [report, result] :
         std::vector<std::pair<std::string, std::int32_t>>{{"", 1},
                                                           {lowerCase, 1},
                                                           {complete, 2},  // neither 0 nor 1
                                                           {ReportText({{}, {}, false}), 1}}) {
        FakeLauncher launcher(Writes(report, result));
        const auto verdict = Run(launcher);
        ASSERT_FALSE(verdict.ok());
        EXPECT_EQ(verdict.error(), kModelFailedText);
        EXPECT_TRUE(fs::exists(dir_ / "Screen3.INP"));
        EXPECT_TRUE(fs::exists(dir_ / "Screen.OUT"));
    }
}

TEST_F(RunScreen3Test, ModelThatWritesNoReportIsAFailureWithoutALeftOverFile) {
    FakeLauncher launcher([](const LaunchCall&) -> Result<std::int32_t> { return 1; });
    const auto verdict = Run(launcher);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), kModelFailedText);
    EXPECT_EQ(FileNames(dir_), (std::set<std::string>{"SCREEN3.EXE", "Screen3.INP"}));
}

TEST_F(RunScreen3Test, ReportOfAnEarlierRunIsNeverReadAsThisRunsReport) {
    WriteFile(dir_ / "SCREEN.OUT", ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}}));
    bool staleSeen = true;
    FakeLauncher launcher([&](const LaunchCall&) -> Result<std::int32_t> {
        staleSeen = fs::exists(dir_ / "SCREEN.OUT");
        return 1;  // the model ended without a report
    });
    const auto verdict = Run(launcher);
    EXPECT_FALSE(staleSeen);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), kModelFailedText);
}

TEST_F(RunScreen3Test, RunFilesOfAnyLetterCaseAreRemovedAfterReading) {
    FakeLauncher launcher([this](const LaunchCall&) -> Result<std::int32_t> {
        WriteFile(dir_ / "SCREEN.OUT", ReportText({Rows([](double) { return 1.0; }), {{1, 50}}}));
        WriteFile(dir_ / "SCREEN.DAT", "data");
        WriteFile(dir_ / "screen.dat", "data");
        return 1;
    });
    ASSERT_TRUE(Run(launcher).ok());
    EXPECT_EQ(FileNames(dir_), std::set<std::string>{"SCREEN3.EXE"});
}

TEST_F(RunScreen3Test, ReaderRefusalGivesTheReadersTextAfterTheFilesAreGone) {
    std::string report = ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}});
    // A summary line of 42 characters: its last field cannot be cut.
    const auto at = report.find(" SIMPLE TERRAIN");
    const auto end = report.find("\r\n", at);
    report.replace(at, end - at, std::string(report, at, 42));
    FakeLauncher launcher(Writes(report));

    const auto verdict = Run(launcher);

    ASSERT_FALSE(verdict.ok());
    EXPECT_FALSE(verdict.error().empty());
    EXPECT_NE(verdict.error(), kModelFailedText);
    EXPECT_EQ(FileNames(dir_), std::set<std::string>{"SCREEN3.EXE"});
}

TEST_F(RunScreen3Test, AnswerFileThatCannotBeWrittenIsAnErrorText) {
    fs::create_directory(dir_ / "Screen3.INP");
    FakeLauncher launcher(Writes(""));
    const auto verdict = Run(launcher);
    ASSERT_FALSE(verdict.ok());
    EXPECT_FALSE(verdict.error().empty());
    EXPECT_TRUE(launcher.calls.empty());
}

TEST_F(RunScreen3Test, StandardIsReadAfterTheModelHasEnded) {
    // 500 at the start would give 350 m; 580 once the model has ended gives 150 m.
    after_.HourlyStandardText = u"0.58";
    FakeLauncher launcher(Writes(ReportText(
        {Rows([](double d) { return d <= 100   ? 600.0
                                    : d <= 300 ? 550.0
                                               : 1.0; }), {{600, 20}}})));
    const auto verdict = Run(launcher);
    ASSERT_TRUE(verdict.ok());
    EXPECT_EQ(verdict.value(), std::u16string(kVerdictPrefix) + u"150 m");
    EXPECT_EQ(reads_, 2);
}

TEST_F(RunScreen3Test, VerdictsOfCraftedReports) {
    struct Case {
        const char* what;
        CraftedReport report;
        std::u16string verdict;
    };
    const std::u16string warning =
        u"\r\n\r\n无组织排放源强可能超过监控浓度限值，建议核实或采取措施削减源强。";
    const std::vector<Case> cases = {
        {"reached up to 60 m",
         {Rows([](double d) { return d <= 60 ? 900.0 : 10.0; }), {{900, 20}}},
         std::u16string(kVerdictPrefix) + u"70 m"},
        {"reached again at 100 m",
         {Rows([](double d) { return d <= 30 || d == 100 ? 500.0 : 499.0; }), {{500, 20}}},
         std::u16string(kVerdictPrefix) + u"150 m"},
        {"reached at 5000 m",
         {Rows([](double) { return 501.0; }), {{900, 20}}},
         u"最远超标距离 > 5000 m\r\n\r\n污染源强可能超标，建议削减源强后，再计算"},
        {"reached up to 2000 m",
         {Rows([](double d) { return d <= 2000 ? 800.0 : 1.0; }), {{800, 20}}},
         std::u16string(kVerdictPrefix) + u"2050 m" + warning},
        {"summary maximum at 37 m",
         {Rows([](double) { return 1.0; }), {{499, 20}, {500, 37}, {500, 90}}},
         std::u16string(kVerdictPrefix) + u"40 m"},
        {"summary maximum at 2000 m",
         {Rows([](double) { return 1.0; }), {{500, 2000}}},
         std::u16string(kVerdictPrefix) + u"2050 m" + warning},
        {"below the standard everywhere",
         {Rows([](double) { return 1.0; }), {{499.9, 20}}},
         u"无超标点"},
    };
    for (const Case& c : cases) {
        reads_ = 0;
        FakeLauncher launcher(Writes(ReportText(c.report)));
        const auto verdict = Run(launcher);
        ASSERT_TRUE(verdict.ok()) << c.what << ": " << ToUtf8(verdict.error());
        EXPECT_EQ(verdict.value(), c.verdict) << c.what;
    }
}

TEST_F(RunScreen3Test, DailyStandardAloneCountsThreeTimes) {
    after_.HourlyChecked = false;
    after_.DailyChecked = true;
    after_.DailyStandardText = u"0.15";  // 450
    FakeLauncher launcher(
        Writes(ReportText({Rows([](double d) { return d <= 50 ? 450.0 : 449.0; }), {{450, 20}}})));
    const auto verdict = Run(launcher);
    ASSERT_TRUE(verdict.ok());
    EXPECT_EQ(verdict.value(), std::u16string(kVerdictPrefix) + u"60 m");
}

TEST(RemoveFilesIgnoringCase, RemovesEveryVariantAndToleratesNone) {
    const fs::path dir = fs::temp_directory_path() / "quorvel-remove-variants";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"Screen.OUT", "SCREEN.OUT", "screen.out", "keep.out"}) {
        WriteFile(dir / name, "x");
    }
    EXPECT_TRUE(RemoveFilesIgnoringCase(dir, "screen.out").ok());
    EXPECT_EQ(FileNames(dir), std::set<std::string>{"keep.out"});
    EXPECT_TRUE(RemoveFilesIgnoringCase(dir, "screen.out").ok());
    EXPECT_TRUE(RemoveRunFiles(dir).ok());
    fs::remove_all(dir);
}

TEST_F(RunScreen3Test, ASuccessfulRunKeepsItsRecordAndAFailedOneLeavesIt) {
    inputs_.HeightText = u"20 m";
    after_.HeightText = u"99 m";  // read only before the model starts
    after_.HourlyStandardText = u"0.4";
    FakeLauncher launcher(Writes(
        ReportText({Rows([](double d) { return d <= 60 ? 900.0 : 10.0; }), {{1000.0, 40}}})));
    const auto verdict = Run(launcher);
    ASSERT_TRUE(verdict.ok()) << ToUtf8(verdict.error());
    ASSERT_TRUE(lastRun_);
    const RunRecord kept = *lastRun_;
    EXPECT_EQ(kept.inputs.HeightText, u"20 m");
    EXPECT_EQ(kept.inputs.HourlyStandardText, u"0.4");
    EXPECT_EQ(kept.comparisonStandard, 400.0f);
    EXPECT_EQ(kept.rows.size(), 108u);
    EXPECT_EQ(kept.summaryRows.size(), 1u);
    EXPECT_EQ(kept.modelTitle, u"SCREEN3 MODEL RUN");
    EXPECT_EQ(kept.verdict.text, verdict.value());
    EXPECT_EQ(kept.verdict.bufferDistance, 70.0f);
    EXPECT_GE(kept.finished.year, 2024);

    // A failed run of the model, and a verdict that cannot be formed.
    FakeLauncher notStarted([](const LaunchCall&) -> Result<std::int32_t> { return 0; });
    EXPECT_FALSE(Run(notStarted).ok());
    after_.HourlyStandardText = u"0";
    FakeLauncher noStandard(Writes(ReportText({Rows([](double) { return 1.0; }), {{1.0, 50}}})));
    EXPECT_FALSE(Run(noStandard).ok());
    ASSERT_TRUE(lastRun_);
    EXPECT_EQ(lastRun_->verdict.text, kept.verdict.text);
    EXPECT_EQ(lastRun_->inputs.HourlyStandardText, u"0.4");
    EXPECT_EQ(lastRun_->rows, kept.rows);
}

}  // namespace
}  // namespace quorvel
