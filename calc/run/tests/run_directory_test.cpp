// Where a run's files lie: the application directory when the user may write
// it, otherwise the user's own state directory.
#include "calc/run/run_directory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "calc/run/run_screen3.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/fake_launcher.h"
#include "calc/run/tests/locked_directory.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test_support::CraftedReport;
using test_support::FakeLauncher;
using test_support::LaunchCall;
using test_support::LockedDirectory;
using test_support::ReportText;
using test_support::ScopedEnvironment;

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

std::set<std::string> FileNames(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

unsigned Mode(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return 0;
    return status.st_mode & 07777u;
}

// A report whose verdict is 70 m with the default standard.
std::string SeventyMetreReport(bool complete = true) {
    CraftedReport report;
    for (double d = 10; d <= 100; d += 10) report.rows.emplace_back(d, d <= 60 ? 900.0 : 10.0);
    report.maxima = {{900, 20}};
    report.complete = complete;
    return ReportText(report);
}

class RunDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvel-rundir-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        appDir_ = root_ / "app";
        stateHome_ = root_ / "state";
        fs::create_directory(appDir_);
        WriteFile(appDir_ / "SCREEN3.EXE", "");
    }
    void TearDown() override { fs::remove_all(root_); }

    // A model that writes `report` and its data file in its working directory.
    FakeLauncher::Model Writes(std::string report) {
        return [this, report = std::move(report)](const LaunchCall& call) -> Result<std::int32_t> {
            const fs::path workDir = PathFromText(call.curDir);
            answerSeenIn_ =
                fs::exists(workDir / "Screen3.INP") ? fs::canonical(workDir) : fs::path();
            WriteFile(workDir / "Screen.OUT", report);
            WriteFile(workDir / "screen.dat", "data");
            return 1;
        };
    }

    Result<std::u16string> Run(FakeLauncher& launcher) {
        return RunScreen3(
            appDir_, [] { return CalculationInputs(); }, launcher);
    }

    fs::path root_;
    fs::path appDir_;
    fs::path stateHome_;
    fs::path answerSeenIn_;
};

TEST_F(RunDirectoryTest, UserRunDirectoryFollowsTheXdgRules) {
    ScopedEnvironment home("HOME", "/home/someone");
    {
        ScopedEnvironment state("XDG_STATE_HOME", "/var/state of mine");
        EXPECT_EQ(UserRunDirectory(), fs::path("/var/state of mine/quorvel"));
    }
    // Unset, empty or relative: the default under the home directory.
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/state")}) {
        ScopedEnvironment state("XDG_STATE_HOME", value);
        EXPECT_EQ(UserRunDirectory(), fs::path("/home/someone/.local/state/quorvel"));
    }
}

TEST_F(RunDirectoryTest, PrivateDirectoryIsMadeWithItsParentsForTheUserAlone) {
    const fs::path dir = stateHome_ / "deeper" / "quorvel";
    ASSERT_TRUE(MakePrivateDirectory(dir).ok());
    for (const fs::path& made : {stateHome_, stateHome_ / "deeper", dir}) {
        EXPECT_EQ(Mode(made) & 077u, 0u) << made;
        EXPECT_EQ(Mode(made) & 0700u, 0700u) << made;
    }
    EXPECT_TRUE(MakePrivateDirectory(dir).ok()) << "an existing directory is fine";

    WriteFile(root_ / "a file", "");
    const Status blocked = MakePrivateDirectory(root_ / "a file" / "quorvel");
    ASSERT_FALSE(blocked.ok());
    EXPECT_NE(ToUtf8(blocked.error()).find("a file/quorvel"), std::string::npos);
}

// A run directory that another user controls could hand this user's runs a
// report of that user's making.
TEST_F(RunDirectoryTest, RunDirectoryOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a directory to another user";
    const fs::path dir = stateHome_ / "quorvel";
    fs::create_directories(dir);
    ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    const Status made = MakePrivateDirectory(dir);
    ASSERT_FALSE(made.ok());
    EXPECT_EQ(made.error(), u"运行目录" + PathText(dir) + u"不属于当前用户!");
}

TEST_F(RunDirectoryTest, WritableApplicationDirectoryKeepsTheRunFiles) {
    ScopedEnvironment state("XDG_STATE_HOME", stateHome_.string());
    const auto chosen = ChooseRunDirectory(appDir_);
    ASSERT_TRUE(chosen.ok());
    EXPECT_EQ(chosen.value(), appDir_);
    EXPECT_FALSE(fs::exists(stateHome_)) << "nothing is made in the user's directory";
    EXPECT_FALSE(IsWritableDirectory(root_ / "absent"));
}

TEST_F(RunDirectoryTest, LockedApplicationDirectoryRunsInTheUsersStateDirectory) {
    ScopedEnvironment state("XDG_STATE_HOME", stateHome_.string());
    FakeLauncher launcher(Writes(SeventyMetreReport()));
    LockedDirectory locked(appDir_);
    if (!locked.made()) GTEST_SKIP() << "the directory cannot be locked here";

    const auto verdict = Run(launcher);

    ASSERT_TRUE(verdict.ok()) << ToUtf8(verdict.error());
    EXPECT_EQ(verdict.value(), u"Quorvel 建议距离（距面源中心） = 70 m");
    const fs::path runDir = stateHome_ / "quorvel";
    ASSERT_EQ(launcher.calls.size(), 1u);
    const auto separator = static_cast<char16_t>(fs::path::preferred_separator);
    EXPECT_EQ(launcher.calls[0].cmdline,
              PathText(appDir_) + separator + u"Screen3.exe <Screen3.INP");
    EXPECT_EQ(launcher.calls[0].curDir, PathText(runDir) + separator);
    EXPECT_EQ(answerSeenIn_, fs::canonical(runDir));
    EXPECT_EQ(Mode(runDir), 0700u);
    EXPECT_TRUE(FileNames(runDir).empty()) << "the run's files are removed";
    EXPECT_EQ(FileNames(appDir_), std::set<std::string>{"SCREEN3.EXE"});
}

TEST_F(RunDirectoryTest, FailedRunOutsideTheApplicationDirectorySaysWhereTheReportLies) {
    ScopedEnvironment state("XDG_STATE_HOME", stateHome_.string());
    const fs::path runDir = stateHome_ / "quorvel";
    LockedDirectory locked(appDir_);
    if (!locked.made()) GTEST_SKIP() << "the directory cannot be locked here";

    FakeLauncher incomplete(Writes(SeventyMetreReport(false)));
    auto verdict = Run(incomplete);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(), std::u16string(kModelFailedText) + u"\r\n" + kReportPlaceText +
                                   PathText(runDir / "Screen.OUT"));
    EXPECT_EQ(FileNames(runDir),
              (std::set<std::string>{"Screen.OUT", "Screen3.INP", "screen.dat"}));

    // No report at all: the directory where it was to be.
    FakeLauncher silent([](const LaunchCall&) -> Result<std::int32_t> { return 1; });
    verdict = Run(silent);
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error(),
              std::u16string(kModelFailedText) + u"\r\n" + kReportPlaceText + PathText(runDir));
}

TEST_F(RunDirectoryTest, StateDirectoryThatCannotBeMadeEndsBeforeTheModel) {
    WriteFile(root_ / "a file", "");
    ScopedEnvironment state("XDG_STATE_HOME", (root_ / "a file").string());
    FakeLauncher launcher(Writes(SeventyMetreReport()));
    LockedDirectory locked(appDir_);
    if (!locked.made()) GTEST_SKIP() << "the directory cannot be locked here";

    const auto verdict = Run(launcher);

    ASSERT_FALSE(verdict.ok());
    EXPECT_NE(ToUtf8(verdict.error()).find("a file/quorvel"), std::string::npos);
    EXPECT_TRUE(launcher.calls.empty());
}

}  // namespace
}  // namespace quorvel
