// Whole calculations through the real runner component that go wrong in every
// way a model, a report or the application directory can: each ends in an
// error text or a verdict, leaves no descriptor open and no child behind.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QString>
#include <QtCore/QTimer>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "calc/calculation_inputs.h"
#include "calc/run/process_launcher.h"
#include "calc/run/run_screen3.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/locked_directory.h"
#include "calc/unicode_text.h"
#include "tests/hardening/app_dir_fixture.h"
#include "ui/qt/tolvane_launcher.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define QUORVEL_LEAK_CHECK 1
#endif

namespace quorvel::hardening {
namespace {

using test_support::CraftedReport;
using test_support::ReportText;

const std::u16string kSeventyMetres = u"Quorvel 建议距离（距面源中心） = 70 m";

// Rows 10 m to 60 m reach the default standard (500 ug/m^3), none farther.
std::string SeventyMetreReport() {
    CraftedReport report;
    for (double d = 10; d <= 100; d += 10) report.rows.emplace_back(d, d <= 60 ? 900.0 : 10.0);
    for (double d = 150; d <= 5000; d += 50) report.rows.emplace_back(d, 1.0);
    report.maxima = {{900, 20}};
    return ReportText(report);
}

// The standard is reached at every distance: a verdict no test above expects.
std::string BeyondRangeReport() {
    CraftedReport report;
    for (double d = 10; d <= 5000; d += 10) report.rows.emplace_back(d, 9000.0);
    report.maxima = {{9000, 20}};
    return ReportText(report);
}

std::string Utf8(const Result<std::u16string>& result) {
    return ToUtf8(result.ok() ? result.value() : u"error: " + result.error());
}

// The real launcher with something done to the run's files just before the
// model starts and just after it has ended.
class SteppingLauncher : public ProcessLauncher {
  public:
    SteppingLauncher(ProcessLauncher& real, std::function<void()> before,
                     std::function<void()> after)
        : real_(real), before_(std::move(before)), after_(std::move(after)) {}

    Result<std::int32_t> RunAndWait(const std::u16string& cmdline, const std::u16string& curDir,
                                    std::int16_t swShow) override {
        if (before_) before_();
        Result<std::int32_t> result = real_.RunAndWait(cmdline, curDir, swShow);
        if (after_) after_();
        return result;
    }
    void Terminate() override { real_.Terminate(); }

  private:
    ProcessLauncher& real_;
    std::function<void()> before_;
    std::function<void()> after_;
};

class RunFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        descriptorsBefore_ = OpenDescriptorCount();
        WriteBytes(dir_ / "crafted.out", SeventyMetreReport());
    }

    void TearDown() override {
        EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore_) << "a descriptor was left open";
        EXPECT_TRUE(NoChildLeft()) << "a child process was left behind";
    }

    Result<std::u16string> Run() {
        return RunScreen3(
            dir_.path(), [this] { return inputs_; }, launcher_);
    }

    void ExpectError(const Result<std::u16string>& result, const char16_t* text) {
        ASSERT_FALSE(result.ok()) << Utf8(result);
        EXPECT_EQ(ToUtf8(result.error()), ToUtf8(text));
    }

    ScratchAppDir dir_;
    CalculationInputs inputs_;
    TolvaneLauncher launcher_{QString::fromStdString(dir_.path().string())};
    int descriptorsBefore_ = 0;
};

TEST_F(RunFaults, TheStandInModelGivesTheCraftedVerdictAndLeavesNoRunFiles) {
    dir_.UseFakeModel("copy crafted.out");
    const auto verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), kSeventyMetres);
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

// Running as root, permissions cannot keep the run from writing; a directory
// that takes the answer file's name can.
TEST_F(RunFaults, AnAnswerFileThatCannotBeCreatedEndsWithAnErrorBeforeTheModelRuns) {
    dir_.UseFakeModel("copy crafted.out");
    fs::create_directory(dir_ / "Screen3.INP");
    const auto result = Run();
    ASSERT_FALSE(result.ok()) << Utf8(result);
    EXPECT_FALSE(result.error().empty());
    EXPECT_FALSE(fs::exists(dir_ / "SCREEN.OUT")) << "the model must not have run";
}

// Links in the run files' places are replaced, never written through: the
// files they point to, outside the application directory, stay as they are.
TEST_F(RunFaults, LinksInTheRunFilesPlacesAreNotWrittenThrough) {
    const fs::path outside = dir_ / "outside";
    fs::create_directory(outside);
    WriteBytes(outside / "kept.txt", "kept\r\n");
    dir_.UseFakeModel("copy crafted.out");
    for (const char* target : {"kept.txt", "absent.txt"}) {
        SCOPED_TRACE(target);
        fs::create_symlink(outside / target, dir_ / "Screen3.INP");
        fs::create_symlink(outside / target, dir_ / "screen.dat");
        const auto verdict = Run();
        ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
        EXPECT_EQ(verdict.value(), kSeventyMetres);
        EXPECT_EQ(ReadBytes(outside / "kept.txt"), "kept\r\n");
        EXPECT_FALSE(fs::exists(outside / "absent.txt"));
        EXPECT_FALSE(fs::is_symlink(dir_ / "Screen3.INP"));
        std::error_code error;
        fs::remove(dir_ / "screen.dat", error);
    }
}

// Users keep programs in directories with blanks, Chinese names and other
// characters that a command line gives meaning to.
TEST_F(RunFaults, AnApplicationDirectoryWithAwkwardCharactersStillRuns) {
    for (const char* name : {"quorvel hardening ", "面源 计算-", "quote\"d <in> 'x' ",
                             "back\\slash $HOME ", "tab\tand;semicolon&"}) {
        SCOPED_TRACE(name);
        ScratchAppDir awkward(name);
        WriteBytes(awkward / "crafted.out", SeventyMetreReport());
        awkward.UseFakeModel("copy crafted.out");
        TolvaneLauncher launcher(QString::fromStdString(awkward.path().string()));
        const auto verdict = RunScreen3(
            awkward.path(), [this] { return inputs_; }, launcher);
        ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
        EXPECT_EQ(verdict.value(), kSeventyMetres);
        EXPECT_EQ(awkward.RunFilesLeft(), "");
    }
}

TEST_F(RunFaults, AMissingOrDamagedRunnerComponentEndsWithAnErrorText) {
    dir_.UseFakeModel("copy crafted.out");
    fs::path component;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
        if (entry.path().filename().string().find("Tolvane") != std::string::npos) {
            component = entry.path();
        }
    }
    ASSERT_FALSE(component.empty());
    WriteBytes(component,
               "\x7F"
               "ELF damaged");
    auto result = Run();
    ASSERT_FALSE(result.ok()) << Utf8(result);
    EXPECT_FALSE(result.error().empty());
    EXPECT_FALSE(fs::exists(dir_ / "SCREEN.OUT")) << "the model must not have run";

    fs::remove(component);
    result = Run();
    ASSERT_FALSE(result.ok()) << Utf8(result);
    EXPECT_FALSE(result.error().empty());
}

// An installed program's directory that the user may not write: the run
// goes to the user's state directory with the real component and model, and
// a report left in the application directory is never read.
TEST_F(RunFaults, AnApplicationDirectoryThatCannotBeWrittenRunsInTheUsersDirectory) {
    ScratchAppDir stateHome("quorvel-state-");
    test_support::ScopedEnvironment state("XDG_STATE_HOME", stateHome.path().string());
    dir_.UseRealModel();
    WriteBytes(dir_ / "Screen.OUT", BeyondRangeReport());
    test_support::LockedDirectory locked(dir_.path());
    if (!locked.made()) GTEST_SKIP() << "the directory cannot be locked here";

    const auto verdict = Run();

    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(ToUtf8(verdict.value()), "Quorvel 建议距离（距面源中心） = 1100 m");
    EXPECT_EQ(dir_.RunFilesLeft(), "Screen.OUT") << "the old report stays untouched";
    EXPECT_TRUE(fs::is_empty(stateHome.path() / "quorvel"));
}

TEST_F(RunFaults, AModelThatIsADirectoryCountsAsMissing) {
    fs::create_directory(dir_ / "SCREEN3.EXE");
    ExpectError(Run(), kModelMissingText);
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, AModelThatIsNotExecutableCannotBeStarted) {
    dir_.UseFakeModel("copy crafted.out");
    fs::permissions(dir_ / "SCREEN3.EXE", fs::perms::owner_read | fs::perms::owner_write);
    ExpectError(Run(), kModelNotStartedText);
    EXPECT_TRUE(fs::exists(dir_ / "Screen3.INP"));
}

TEST_F(RunFaults, AReportThatCannotBeReadIsAFailedRunNotAHang) {
    for (const char* mode : {"fifo", "report_dir"}) {
        SCOPED_TRACE(mode);
        dir_.UseFakeModel(mode);
        const auto started = std::chrono::steady_clock::now();
        ExpectError(Run(), kModelFailedText);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
        std::error_code error;
        fs::remove(dir_ / "SCREEN.OUT", error);
    }
}

TEST_F(RunFaults, AReportReachedThroughALinkIsReadAndOnlyTheLinkRemoved) {
    const fs::path outside = dir_ / "outside";
    fs::create_directory(outside);
    WriteBytes(outside / "report.txt", SeventyMetreReport());
    dir_.UseFakeModel("link outside/report.txt");
    const auto verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), kSeventyMetres);
    EXPECT_TRUE(fs::exists(outside / "report.txt"));
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, RunFilesDeletedOrReplacedByTheModelStillGiveTheVerdict) {
    dir_.UseFakeModel("delete_answers crafted.out");
    auto verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), kSeventyMetres);
    EXPECT_EQ(dir_.RunFilesLeft(), "");

    // A directory in the answer file's place is not the run's to remove; the
    // next run then cannot write its answers and says so.
    dir_.SetFakeMode("answers_dir crafted.out");
    verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), kSeventyMetres);
    EXPECT_TRUE(fs::is_directory(dir_ / "Screen3.INP"));
    const auto blocked = Run();
    ASSERT_FALSE(blocked.ok());
    EXPECT_FALSE(blocked.error().empty());
}

TEST_F(RunFaults, RunFilesChangedBetweenTheStepsEndInAnErrorTextOrTheVerdict) {
    dir_.UseRealModel();
    const auto run = [this](std::function<void()> before, std::function<void()> after) {
        SteppingLauncher stepping(launcher_, std::move(before), std::move(after));
        return RunScreen3(
            dir_.path(), [this] { return inputs_; }, stepping);
    };
    const auto expected = Run();
    ASSERT_TRUE(expected.ok()) << Utf8(expected);

    // The model removed after the test for it: it cannot be started.
    ExpectError(run([this] { fs::remove(dir_ / "SCREEN3.EXE"); }, {}), kModelNotStartedText);
    dir_.UseRealModel();

    // The answer file removed before the model reads it: the model refuses.
    ExpectError(run([this] { fs::remove(dir_ / "Screen3.INP"); }, {}), kModelFailedText);

    // The report removed, or replaced by a directory, before it is read.
    ExpectError(run({}, [this] { fs::remove(dir_ / "SCREEN.OUT"); }), kModelFailedText);
    ExpectError(run({},
                    [this] {
                        fs::remove(dir_ / "SCREEN.OUT");
                        fs::create_directory(dir_ / "SCREEN.OUT");
                    }),
                kModelFailedText);
    fs::remove(dir_ / "SCREEN.OUT");

    // The model's data file gone before the run's files are removed.
    const auto verdict = run({}, [this] { fs::remove(dir_ / "SCREEN.DAT"); });
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), expected.value());
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, AModelKilledBySignalIsAFailedRun) {
    WriteBytes(dir_ / "real.out", SeventyMetreReport());
    for (const char* mode : {"killed real.out", "crash"}) {
        SCOPED_TRACE(mode);
        dir_.UseFakeModel(mode);
        ExpectError(Run(), kModelFailedText);
    }
}

TEST_F(RunFaults, ATruncatedReportIsAFailedRun) {
    const std::string report = SeventyMetreReport();
    const std::size_t completion = report.find("REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS");
    ASSERT_NE(completion, std::string::npos);
    for (const std::size_t bytes :
         {std::size_t{0}, report.size() / 4, report.size() / 2, completion + 44}) {
        SCOPED_TRACE(bytes);
        dir_.UseFakeModel("truncate crafted.out " + std::to_string(bytes));
        ExpectError(Run(), kModelFailedText);
    }
}

TEST_F(RunFaults, AReportOfFortyThousandRowsEndsWithTheReadersErrorText) {
    dir_.UseFakeModel("rows 40000");
    const auto started = std::chrono::steady_clock::now();
    const auto result = Run();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
    ASSERT_FALSE(result.ok()) << Utf8(result);
    EXPECT_NE(ToUtf8(result.error()).find("32767"), std::string::npos) << Utf8(result);
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, AHangingModelThatIgnoresTerminationIsEndedOnRequest) {
    dir_.UseFakeModel("hang");
    QTimer::singleShot(500, [this] { launcher_.Terminate(); });
    const auto started = std::chrono::steady_clock::now();
    ExpectError(Run(), kModelFailedText);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    const pid_t pid = static_cast<pid_t>(std::stol(ReadBytes(dir_ / "model.pid")));
    EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(RunFaults, AnOldReportIsNeverReadAsTheReportOfAModelThatWroteNone) {
    // Left by an earlier run that stopped before removing its files, in both
    // letter cases the model and the calculator use.
    WriteBytes(dir_ / "screen.out", BeyondRangeReport());
    WriteBytes(dir_ / "SCREEN.OUT", BeyondRangeReport());
    WriteBytes(dir_ / "SCREEN.DAT", "old data\r\n");
    dir_.UseFakeModel("nothing");
    ExpectError(Run(), kModelFailedText);

    WriteBytes(dir_ / "screen.out", BeyondRangeReport());
    dir_.SetFakeMode("copy crafted.out");
    const auto verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), kSeventyMetres);
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, ARunAfterFailedOnesGivesTheVerdictOfAFreshRun) {
    ScratchAppDir fresh;
    fresh.UseRealModel();
    TolvaneLauncher freshLauncher(QString::fromStdString(fresh.path().string()));
    const auto expected = RunScreen3(
        fresh.path(), [this] { return inputs_; }, freshLauncher);
    ASSERT_TRUE(expected.ok()) << Utf8(expected);

    WriteBytes(dir_ / "real.out", BeyondRangeReport());
    for (const char* mode : {"killed real.out", "truncate real.out 3000", "crash"}) {
        dir_.UseFakeModel(mode);
        ASSERT_FALSE(Run().ok());
    }
    dir_.UseRealModel();
    const auto verdict = Run();
    ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    EXPECT_EQ(verdict.value(), expected.value());
    EXPECT_EQ(dir_.RunFilesLeft(), "");
}

TEST_F(RunFaults, AWholeRunWithTheRealModelLeaksNothing) {
    dir_.UseRealModel();
    // The first run loads the component and fills Qt's caches for good.
    ASSERT_TRUE(Run().ok());
    const int descriptors = OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        const auto verdict = Run();
        ASSERT_TRUE(verdict.ok()) << Utf8(verdict);
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
#ifdef QUORVEL_LEAK_CHECK
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "the leak checker found a leak";
#endif
}

}  // namespace
}  // namespace quorvel::hardening

namespace {

// The runner processes Qt events while it waits; they need an application.
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override { app_ = new QCoreApplication(argc_, argv_); }
    void TearDown() override { delete app_; }

  private:
    int argc_ = 1;
    char name_[16] = "run_faults_test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
