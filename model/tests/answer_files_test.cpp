#include "model/answer_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quorvel {
namespace {

TEST(AnswerFiles, ArgumentBeginningWithLessThan) {
    const char* runner[] = {"SCREEN3.EXE", "<Screen3.INP"};
    EXPECT_EQ(AnswerFileArgument(2, runner), "Screen3.INP");
    const char* apart[] = {"SCREEN3.EXE", "<", "answers.txt"};
    EXPECT_EQ(AnswerFileArgument(3, apart), "answers.txt");
    const char* none[] = {"SCREEN3.EXE", "Screen3.INP"};
    EXPECT_FALSE(AnswerFileArgument(2, none));
    EXPECT_FALSE(AnswerFileArgument(1, none));
}

TEST(AnswerFiles, FindsANameThatDiffersInLetterCase) {
    const auto dir = std::filesystem::temp_directory_path() / "quorvel_model_answer_files_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "screen3.inp") << "x";
    const auto found = FindFileIgnoringCase(dir, "Screen3.INP");
    ASSERT_TRUE(found);
    EXPECT_TRUE(std::filesystem::equivalent(*found, dir / "screen3.inp"));
    EXPECT_FALSE(FindFileIgnoringCase(dir, "other.inp"));
    EXPECT_FALSE(FindFileIgnoringCase(dir / "missing", "Screen3.INP"));
    std::filesystem::remove_all(dir);
}

TEST(AnswerFiles, SplitsCrLfAndLfLines) {
    EXPECT_EQ(SplitLines("A\r\n 15 \r\n\r\n"), (std::vector<std::string>{"A", " 15 ", ""}));
    EXPECT_EQ(SplitLines("A\nB"), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace quorvel
