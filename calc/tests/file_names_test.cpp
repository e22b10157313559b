#include "calc/file_names.h"

#include <fstream>

#include <gtest/gtest.h>

#include "calc/unicode_text.h"

namespace quorvel {
namespace {

class FindFileIgnoringCaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ =
            std::filesystem::temp_directory_path() /
            ("quorvel-names-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    void Touch(const std::filesystem::path& name) { std::ofstream(directory_ / name) << "x"; }

    std::filesystem::path directory_;
};

TEST_F(FindFileIgnoringCaseTest, FindsARegularFileWhateverTheLetterCase) {
    Touch("Screen3.exe");
    EXPECT_EQ(FindFileIgnoringCase(directory_, "SCREEN3.EXE"), directory_ / "Screen3.exe");
    EXPECT_EQ(FindFileIgnoringCase(directory_, u"screen3.EXE"), directory_ / "Screen3.exe");
    EXPECT_EQ(FindFileIgnoringCase(directory_, "SCREEN3.EX"), std::nullopt);
}

TEST_F(FindFileIgnoringCaseTest, PrefersTheExactName) {
    Touch("screen.out");
    Touch("Screen.OUT");
    if (std::filesystem::equivalent(directory_ / "screen.out", directory_ / "Screen.OUT")) {
        GTEST_SKIP() << "this file system ignores letter case itself";
    }
    EXPECT_EQ(FindFileIgnoringCase(directory_, "Screen.OUT"), directory_ / "Screen.OUT");
    EXPECT_EQ(FindFileIgnoringCase(directory_, "SCREEN.OUT"), directory_ / "Screen.OUT");
}

TEST_F(FindFileIgnoringCaseTest, ADirectoryOrAMissingDirectoryFindsNothing) {
    std::filesystem::create_directory(directory_ / "SCREEN3.EXE");
    EXPECT_EQ(FindFileIgnoringCase(directory_, "screen3.exe"), std::nullopt);
    EXPECT_EQ(FindFileIgnoringCase(directory_ / "missing", "screen3.exe"), std::nullopt);
}

TEST_F(FindFileIgnoringCaseTest, NonAsciiNamesMatchExactly) {
    Touch(PathFromText(u"说明.TXT"));
    EXPECT_EQ(FindFileIgnoringCase(directory_, u"说明.txt"),
              directory_ / PathFromText(u"说明.TXT"));
    EXPECT_EQ(FindFileIgnoringCase(directory_, u"说朙.txt"), std::nullopt);
}

TEST(UnicodeText, RoundTripsAndReplacesMalformedInput) {
    const std::u16string text = u"说明 a \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xff"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xe8\xaf"), u"\uFFFD\uFFFD");
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorvel
