#include "calc/sheet/sheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "calc/sheet/calculation_sheet.h"
#include "calc/sheet/tests/sheet_records.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SheetFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device seed;
        documents_ = fs::temp_directory_path() / ("quorvel-docs-" + std::to_string(seed()));
        fs::create_directories(documents_);
        record_ = test_support::RecordOf(
            test_support::ReportOf([](double d) { return d <= 60 ? 900.0 : 10.0; }, {}));
    }
    void TearDown() override { fs::remove_all(documents_); }

    fs::path documents_;
    RunRecord record_;
};

TEST_F(SheetFileTest, NamedByTheRunsTimeInAQuorvelFolder) {
    EXPECT_EQ(SheetFileName(LocalTime{2026, 1, 2, 3, 4, 5}), u"计算书_20260102-030405.html");

    const Result<fs::path> saved = SaveCalculationSheet(documents_, record_);
    ASSERT_TRUE(saved.ok()) << ToUtf8(saved.error());
    EXPECT_EQ(saved.value(), documents_ / PathFromText(u"Quorvel/计算书_20261208-090507.html"));
    EXPECT_EQ(ReadFile(saved.value()), CalculationSheetHtml(record_));
}

TEST_F(SheetFileTest, TheSameRunFindsItsSheetAndAnotherSheetOfThatNameIsKept) {
    const Result<fs::path> first = SaveCalculationSheet(documents_, record_);
    ASSERT_TRUE(first.ok());
    const Result<fs::path> again = SaveCalculationSheet(documents_, record_);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), first.value());

    RunRecord other = record_;
    other.inputs.HeightText = u"20 m";
    const Result<fs::path> second = SaveCalculationSheet(documents_, other);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.value().filename(), PathFromText(u"计算书_20261208-090507_2.html"));
    EXPECT_EQ(ReadFile(first.value()), CalculationSheetHtml(record_));
    EXPECT_EQ(ReadFile(second.value()), CalculationSheetHtml(other));
}

TEST_F(SheetFileTest, AFolderThatCannotBeMadeGivesTheReason) {
    // A file where a folder must be: refused even for the superuser.
    std::ofstream(documents_ / "Quorvel") << "x";
    const Result<fs::path> saved = SaveCalculationSheet(documents_, record_);
    ASSERT_FALSE(saved.ok());
    const std::string error = ToUtf8(saved.error());
    EXPECT_NE(error.find("无法创建保存计算书的文件夹"), std::string::npos) << error;
    EXPECT_NE(error.find((documents_ / "Quorvel").string()), std::string::npos) << error;
    EXPECT_NE(error.find("（路径中有同名的文件，不是文件夹）"), std::string::npos) << error;

    const Result<fs::path> underFile = SaveCalculationSheet(documents_ / "Quorvel", record_);
    EXPECT_FALSE(underFile.ok());
}

}  // namespace
}  // namespace quorvel
