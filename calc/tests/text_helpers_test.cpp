#include "calc/text_helpers.h"

#include <array>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

class LoadTextFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     (std::string("quorvel-load-") +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::filesystem::path directory_;
};

TEST_F(LoadTextFileTest, ReadsCodePage936WithLineEndsKept) {
    const auto file = directory_ / "Screen.OUT";
    std::ofstream(file, std::ios::binary) << "\xC5\xA8\xB6\xC8 1\r\n2\r\n";
    const auto text = LoadTextFile(file);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), u"浓度 1\r\n2\r\n");
}

TEST_F(LoadTextFileTest, AnEmptyFileReadsEmpty) {
    const auto file = directory_ / "empty";
    std::ofstream(file, std::ios::binary).flush();
    EXPECT_EQ(LoadTextFile(file).value(), u"");
}

TEST_F(LoadTextFileTest, AMissingFileIsCreatedEmpty) {
    const auto file = directory_ / "Screen.OUT";
    const auto text = LoadTextFile(file);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), u"");
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

TEST_F(LoadTextFileTest, FileSystemFailuresAreErrorTexts) {
    const auto asDirectory = LoadTextFile(directory_);
    EXPECT_FALSE(asDirectory.ok());
    EXPECT_FALSE(asDirectory.error().empty());
    EXPECT_FALSE(LoadTextFile(directory_ / "missing" / "Screen.OUT").ok());
}

TEST(DeleteDoubleSpace, CollapsesEveryRunOfBlanksAndNothingElse) {
    std::u16string text = u"  a   b  ";
    DeleteDoubleSpace(text);
    EXPECT_EQ(text, u" a b ");

    text = u"a b\tc";
    DeleteDoubleSpace(text);
    EXPECT_EQ(text, u"a b\tc");

    text = u"a \t b";
    DeleteDoubleSpace(text);
    EXPECT_EQ(text, u"a \t b");

    text = std::u16string(1000, u' ');
    DeleteDoubleSpace(text);
    EXPECT_EQ(text, u" ");
}

TEST(GetMaxGetMin, TakeNumbersAndRangesInOrder) {
    EXPECT_EQ(GetMax(3, 5), 5.0f);
    EXPECT_EQ(GetMin(3, 5), 3.0f);
    EXPECT_EQ(GetMax(5.0f, 5.0f), 5.0f);
    EXPECT_EQ(GetMin(5.0f, 5.0f), 5.0f);
    EXPECT_EQ(GetMax(std::array{1.0, 7.0}, 3), 7.0f);
    EXPECT_EQ(GetMin(std::vector<float>{4.0f, 2.5f}, 3.0), 2.5f);
    EXPECT_EQ(GetMax(300.0f, 100.0f), 300.0f);
    EXPECT_EQ(GetMin(300.0f, 100.0f), 100.0f);
}

TEST(GetMaxGetMin, StartValuesBoundTheResult) {
    EXPECT_EQ(GetMax(-2e30), -1e30f);
    EXPECT_EQ(GetMin(-2e30), -2e30f);
    EXPECT_EQ(GetMin(2e30), 1e30f);
    EXPECT_EQ(GetMax(), -1e30f);
    EXPECT_EQ(GetMin(), 1e30f);
    EXPECT_EQ(GetMax(std::vector<double>{}), -1e30f);
}

}  // namespace
}  // namespace quorvel
