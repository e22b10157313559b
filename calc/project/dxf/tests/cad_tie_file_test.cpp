#include <gtest/gtest.h>

#include <string>

#include "calc/project/files/project_file.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::string FileWithCad(const std::string& cad) {
    return R"({"format": "quorvel-project", "version": 1, "cad": )" + cad + "}";
}

TEST(CadTieFile, TheTieIsReadWrittenInItsOrderAndKeepsUnknownMembers) {
    const Result<Project> read = ReadProject(FileWithCad(
        R"({"colour": "grey", "layers": ["建筑", "道路"], "north_deg": 12.5,
            "origin": [512345000.0, 3401234000.0], "unit": "mm", "file": "总平面布置图.dxf"})"));
    ASSERT_TRUE(read.ok()) << ToUtf8(read.error());
    ASSERT_TRUE(read.value().cad.has_value());
    const CadTie& cad = *read.value().cad;
    EXPECT_EQ(cad.file, "总平面布置图.dxf");
    EXPECT_EQ(cad.unit, DrawingUnit::Millimetre);
    EXPECT_EQ(cad.origin, (SitePoint{512345000.0, 3401234000.0}));
    EXPECT_EQ(cad.northDeg, 12.5);
    EXPECT_EQ(cad.layers, (std::vector<std::string>{"建筑", "道路"}));
    EXPECT_EQ(cad.unknown, R"({"colour":"grey"})");

    const std::string written = ProjectJson(read.value());
    EXPECT_NE(written.find(R"("cad": {
    "file": "总平面布置图.dxf",
    "unit": "mm",
    "origin": [512345000.0, 3401234000.0],
    "north_deg": 12.5,
    "layers": [
      "建筑",
      "道路"
    ],
    "colour": "grey"
  })"),
              std::string::npos)
        << written;
    const Result<Project> again = ReadProject(written);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), read.value());
}

TEST(CadTieFile, AnUnusableTieIsRefusedByItsPath) {
    const auto fault = [](const std::string& cad) {
        return ToUtf8(ReadProject(FileWithCad(cad)).error());
    };
    EXPECT_EQ(fault(R"({"file": "a.dxf", "unit": "inch", "origin": [0, 0]})"),
              "项目文件不能使用：cad.unit 应为 “mm”、“cm” 或 “m”，而不是 “inch”");
    EXPECT_EQ(fault(R"({"file": "a.dxf", "unit": "m", "origin": [0]})"),
              "项目文件不能使用：cad.origin 应为两个数字组成的数组 [x, y]");
    EXPECT_EQ(fault(R"({"unit": "m", "origin": [0, 0]})"), "项目文件不能使用：缺少成员 cad.file");
    EXPECT_EQ(fault(R"({"file": "a.dxf", "unit": "m", "origin": [0, 0], "layers": [1]})"),
              "项目文件不能使用：cad.layers[0] 应为文本");
}

}  // namespace
}  // namespace quorvel::project
