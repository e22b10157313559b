// SCREEN3.EXE as the runner starts it: in its own working directory, with the
// answer file named by a "<" argument and nothing on standard input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/answer_files.h"
#include "model/report_writer.h"
#include "model/tests/answer_test_lines.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quorvel_model_program_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Runs the program with `arguments` (already quoted for the shell) and
    // `input` as its standard input; returns its exit status.
    int Run(const std::string& arguments, const std::string& input = "") {
        Write("stdin.txt", input);
        const std::string command = "cd '" + dir_.string() + "' && '" QUORVEL_SCREEN_MODEL "' " +
                                    arguments + " < stdin.txt > stdout.txt 2> stderr.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
};

TEST_F(ProgramTest, RunsTheCalculatorsAnswerFile) {
    Write("Screen3.INP", testing::JoinCrLf(testing::DefaultCalculatorAnswers()));
    ASSERT_EQ(Run("'<Screen3.INP'"), 0) << Read("stderr.txt");
    const std::string report = Read("SCREEN.OUT");
    EXPECT_NE(report.find(kCompletionText), std::string::npos);
    EXPECT_NE(report.find("*** SCREEN DISCRETE DISTANCES ***"), std::string::npos);
    const auto data = SplitLines(Read("SCREEN.DAT"));
    EXPECT_EQ(data.size(), 35u);
    EXPECT_NE(Read("SCREEN.DAT").find("\r\n"), std::string::npos);
    EXPECT_EQ(Read("stderr.txt"), "");
}

TEST_F(ProgramTest, BadAnswerStopsWithoutCompletionTextAndRemovesAnOldReport) {
    Write("SCREEN.OUT", std::string("old run ") + kCompletionText);
    Write("SCREEN.DAT", "old");
    auto lines = testing::DefaultCalculatorAnswers();
    lines[4] = " 0 ";
    Write("Screen3.INP", testing::JoinCrLf(lines));
    EXPECT_NE(Run("'<Screen3.INP'"), 0);
    EXPECT_NE(Read("stderr.txt").find("larger side"), std::string::npos);
    EXPECT_EQ(Read("SCREEN.OUT").find(kCompletionText), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "SCREEN.DAT"));
}

TEST_F(ProgramTest, MissingAnswerFileIsReported) {
    EXPECT_NE(Run("'<Screen3.INP'"), 0);
    EXPECT_NE(Read("stderr.txt").find("Screen3.INP"), std::string::npos);
    EXPECT_EQ(Read("SCREEN.OUT").find(kCompletionText), std::string::npos);
}

TEST_F(ProgramTest, AsksOnTheConsoleAndStopsAtTheEndOfInput) {
    // A person answering by hand, who gives up after the release height.
    EXPECT_NE(Run("", "my run\nA\n0.001\n15\n"), 0);
    EXPECT_NE(Read("stdout.txt").find("larger side"), std::string::npos);
    EXPECT_NE(Read("stderr.txt").find("input ended"), std::string::npos);

    // And one who answers everything.
    EXPECT_EQ(Run("", "hand run\nA\n0.002\n5\n50\n20\n1.5\nR\nN\n20\n2\n4\nN\nY\n100\n250\n0\nN\n"),
              0)
        << Read("stderr.txt");
    const std::string report = Read("SCREEN.OUT");
    EXPECT_NE(report.find("hand run"), std::string::npos);
    EXPECT_NE(report.find("*** STABILITY CLASS 4 ONLY ***"), std::string::npos);
    EXPECT_NE(report.find(kCompletionText), std::string::npos);
}

}  // namespace
}  // namespace quorvel
