#include "calc/project/files/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// A project file with members the program does not know at every level,
// between and after the known ones.
const char kWithUnknownMembers[] = R"({
  "format": "quorvel-project",
  "editor": {"window": [10, 20, 800, 600], "zoom": 1.5},
  "version": 1,
  "name": "示例化工项目",
  "sources": [
    {"id": "S1", "colour": "#ff0000", "name": "罐区", "x": 120, "y": 80.0, "angle": 30.0,
     "height": 5.0, "width": 40.0, "length": 60.0, "note": null}
  ],
  "emissions": [
    {"source": "S1", "pollutant": "非甲烷总烃", "rate": 0.12, "unit": "kg/hr",
     "hourly": 2.0, "cas": "n/a", "daily": null}
  ],
  "boundary": [[0, 0], [300, 0], [300, 200], [0, 200], [0, 0]],
  "receptors": [{"name": "王家村", "x": 520.0, "y": 150.0, "kind": "village", "people": 1200}],
  "plan": {"image": "厂区平面图.png", "opacity": 0.5,
           "points": [{"pixel": [12, 30], "site": [0, 200], "label": "A"},
                      {"pixel": [912, 630], "site": [300, 0]}]},
  "target_distance_m": 100,
  "zz_last": [true, false, "三"]
}
)";

std::string Message(const Result<Project>& project) { return ToUtf8(project.error()); }

// The message for `text`, which must be refused.
std::string FaultOf(const std::string& text) {
    const Result<Project> project = ReadProject(text);
    EXPECT_FALSE(project.ok()) << text;
    const std::string message = Message(project);
    EXPECT_EQ(message.rfind("项目文件不能使用：", 0), 0u) << message;
    return message;
}

// A usable file with `members` added after the version.
std::string FileWith(const std::string& members) {
    return R"({"format": "quorvel-project", "version": 1)" +
           (members.empty() ? "" : ", " + members) + "}";
}

Project Sample() {
    Project project;
    project.name = "示例";
    project.location = Location::Rural;
    project.sources.push_back(Source{"S1", "罐区", {120, 80.5}, 30, 5, 40, 60, {}});
    project.emissions.push_back(
        Emission{"S1", "苯", 0.1, RateUnit::TonnesPerYear, std::nullopt, 0.11, {}});
    project.boundary = {{0, 0}, {300, 0}, {300, 200}};
    project.receptors.push_back(Receptor{"王家村", {520, -1.25}, {}});
    project.targetDistance = 150;
    Plan plan;
    plan.image = "plan.png";
    plan.points = {PlanPoint{{12, 30}, {0, 200}, {}}, PlanPoint{{912, 630}, {300, 0}, {}}};
    project.plan = plan;
    return project;
}

TEST(ProjectFile, WritesTheMembersInTheirFixedOrder) {
    EXPECT_EQ(ProjectJson(Sample()), R"({
  "format": "quorvel-project",
  "version": 1,
  "name": "示例",
  "location": "rural",
  "sources": [
    {
      "id": "S1",
      "name": "罐区",
      "x": 120.0,
      "y": 80.5,
      "angle": 30.0,
      "height": 5.0,
      "width": 40.0,
      "length": 60.0
    }
  ],
  "emissions": [
    {
      "source": "S1",
      "pollutant": "苯",
      "rate": 0.1,
      "unit": "t/a",
      "hourly": null,
      "daily": 0.11
    }
  ],
  "boundary": [
    [0.0, 0.0],
    [300.0, 0.0],
    [300.0, 200.0]
  ],
  "receptors": [
    {
      "name": "王家村",
      "x": 520.0,
      "y": -1.25
    }
  ],
  "target_distance_m": 150.0,
  "plan": {
    "image": "plan.png",
    "points": [
      {
        "pixel": [12.0, 30.0],
        "site": [0.0, 200.0]
      },
      {
        "pixel": [912.0, 630.0],
        "site": [300.0, 0.0]
      }
    ]
  }
}
)");
}

TEST(ProjectFile, AnEmptyProjectHasEveryListAndNoOptionalMembers) {
    EXPECT_EQ(ProjectJson(Project{}), R"({
  "format": "quorvel-project",
  "version": 1,
  "name": "",
  "location": "urban",
  "sources": [],
  "emissions": [],
  "boundary": [],
  "receptors": []
}
)");
}

TEST(ProjectFile, ReadsWhatItWrites) {
    const Result<Project> project = ReadProject(ProjectJson(Sample()));
    ASSERT_TRUE(project.ok()) << Message(project);
    EXPECT_EQ(project.value(), Sample());
}

TEST(ProjectFile, NumbersKeepEveryDigit) {
    Project project = Sample();
    project.sources[0].centre = {0.1 + 0.2, 1e-300};
    project.sources[0].height = 123456789.123456789;
    project.emissions[0].rate = 5e-324;
    project.receptors[0].position = {-99999999.999999985, 2.5e-20};
    project.emissions[0].hourly = 1.7976931348623157e308;
    const std::string json = ProjectJson(project);
    const Result<Project> again = ReadProject(json);
    ASSERT_TRUE(again.ok()) << Message(again);
    EXPECT_EQ(again.value(), project);
    EXPECT_NE(json.find("\"x\": 0.30000000000000004"), std::string::npos) << json;
}

TEST(ProjectFile, UnknownMembersAreKeptAtEveryLevelInTheirOrder) {
    const Result<Project> read = ReadProject(kWithUnknownMembers);
    ASSERT_TRUE(read.ok()) << Message(read);
    const Project& project = read.value();
    EXPECT_EQ(project.unknown,
              R"({"editor":{"window":[10,20,800,600],"zoom":1.5},"zz_last":[true,false,"三"]})");
    EXPECT_EQ(project.sources[0].unknown, R"({"colour":"#ff0000","note":null})");
    EXPECT_EQ(project.emissions[0].unknown, R"({"cas":"n/a"})");
    EXPECT_EQ(project.receptors[0].unknown, R"({"kind":"village","people":1200})");
    ASSERT_TRUE(project.plan.has_value());
    EXPECT_EQ(project.plan->unknown, R"({"opacity":0.5})");
    EXPECT_EQ(project.plan->points[0].unknown, R"({"label":"A"})");
    EXPECT_EQ(project.plan->points[1].unknown, "");
    // The closing vertex is not kept.
    EXPECT_EQ(project.boundary.size(), 4u);
    EXPECT_EQ(project.targetDistance, 100.0);

    const std::string saved = ProjectJson(project);
    EXPECT_NE(saved.find(R"(  "receptors": [
    {
      "name": "王家村",
      "x": 520.0,
      "y": 150.0,
      "kind": "village",
      "people": 1200
    }
  ],
  "target_distance_m": 100.0,
  "plan": {
    "image": "厂区平面图.png",
    "points": [
      {
        "pixel": [12.0, 30.0],
        "site": [0.0, 200.0],
        "label": "A"
      },)"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find(R"(    "opacity": 0.5
  },
  "editor": {
    "window": [10, 20, 800, 600],
    "zoom": 1.5
  },
  "zz_last": [
    true,
    false,
    "三"
  ]
}
)"),
              std::string::npos)
        << saved;

    const Result<Project> again = ReadProject(saved);
    ASSERT_TRUE(again.ok()) << Message(again);
    EXPECT_EQ(again.value(), project);
    EXPECT_EQ(ProjectJson(again.value()), saved);
}

TEST(ProjectFile, OpenSaveOpenGivesTheSameProjectAndTheSecondSaveTheSameBytes) {
    ScratchFolder folder;
    const fs::path first = folder.path() / PathFromText(u"项目.qvproj");
    const fs::path second = folder.path() / "again.qvproj";
    WriteBytes(first, kWithUnknownMembers);
    const Result<Project> opened = OpenProject(first);
    ASSERT_TRUE(opened.ok()) << Message(opened);
    ASSERT_TRUE(SaveProject(first, opened.value()).ok());
    const Result<Project> reopened = OpenProject(first);
    ASSERT_TRUE(reopened.ok()) << Message(reopened);
    EXPECT_EQ(reopened.value(), opened.value());
    ASSERT_TRUE(SaveProject(second, reopened.value()).ok());
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"again.qvproj", "项目.qvproj"}));
}

TEST(ProjectFile, TheExampleProjectIsInTheWrittenForm) {
    const fs::path example = QUORVEL_EXAMPLE_PROJECT;
    const Result<Project> project = OpenProject(example);
    ASSERT_TRUE(project.ok()) << Message(project);
    EXPECT_EQ(project.value().name, "示例化工项目");
    EXPECT_EQ(project.value().sources.size(), 3u);
    EXPECT_EQ(project.value().emissions.size(), 6u);
    EXPECT_EQ(project.value().boundary.size(), 4u);
    EXPECT_EQ(project.value().receptors.size(), 2u);
    EXPECT_FALSE(project.value().plan.has_value());
    EXPECT_EQ(ProjectJson(project.value()), ReadBytes(example));
    // Every row of the example can be computed.
    for (std::size_t i = 0; i < project.value().emissions.size(); ++i) {
        const Result<CalculationInputs> inputs = EmissionInputs(project.value(), i);
        EXPECT_TRUE(inputs.ok()) << ToUtf8(inputs.error());
    }
}

TEST(ProjectFile, MissingMembersTakeTheirDefaults) {
    const Result<Project> read = ReadProject(FileWith(
        R"("sources": [{"id": "S1", "x": 1, "y": 2, "height": 5, "width": 40, "length": 60}],
           "emissions": [{"source": "S1", "pollutant": "氨", "rate": 1, "unit": "g/s"}],
           "receptors": [{"x": 3, "y": 4}])"));
    ASSERT_TRUE(read.ok()) << Message(read);
    const Project& project = read.value();
    EXPECT_EQ(project.name, "");
    EXPECT_EQ(project.location, Location::Urban);
    EXPECT_EQ(project.sources[0].name, "");
    EXPECT_EQ(project.sources[0].angle, 0.0);
    EXPECT_FALSE(project.emissions[0].hourly.has_value());
    EXPECT_FALSE(project.emissions[0].daily.has_value());
    EXPECT_EQ(project.receptors[0].name, "");
    EXPECT_TRUE(project.boundary.empty());
    EXPECT_FALSE(project.targetDistance.has_value());
    EXPECT_FALSE(project.plan.has_value());

    const Result<Project> bare = ReadProject(FileWith(""));
    ASSERT_TRUE(bare.ok()) << Message(bare);
    EXPECT_EQ(bare.value(), Project{});
    // Null for an optional member is the same as leaving it out.
    const Result<Project> nulls = ReadProject(
        FileWith(R"("name": null, "boundary": null, "plan": null, "target_distance_m": null)"));
    ASSERT_TRUE(nulls.ok()) << Message(nulls);
    EXPECT_EQ(nulls.value(), Project{});
}

TEST(ProjectFile, AByteOrderMarkIsAcceptedAndNeverWritten) {
    const std::string json = ProjectJson(Sample());
    const Result<Project> project = ReadProject("\xEF\xBB\xBF" + json);
    ASSERT_TRUE(project.ok()) << Message(project);
    EXPECT_EQ(project.value(), Sample());
    EXPECT_EQ(ProjectJson(project.value()).rfind("{\n", 0), 0u);
    // Line and column count from after the mark.
    EXPECT_NE(FaultOf("\xEF\xBB\xBF{]").find("第 1 行第 2 列"), std::string::npos);
}

TEST(ProjectFile, NotJsonGivesTheLineAndColumn) {
    const std::string missingComma =
        "{\n  \"format\": \"quorvel-project\",\n  \"version\": 1,\n"
        "  \"name\": \"示例项目\"\n  \"sources\": []\n}\n";
    EXPECT_EQ(FaultOf(missingComma), "项目文件不能使用：不是有效的 JSON：第 5 行第 3 列有语法错误");
    // The column counts characters, not bytes.
    EXPECT_EQ(FaultOf("{\"name\": \"示例项目\" x}"),
              "项目文件不能使用：不是有效的 JSON：第 1 行第 17 列有语法错误");
    EXPECT_EQ(FaultOf("{\r\n  \"format\": \"quorvel-project\",\r\n  \"version\": 1,\r\n"),
              "项目文件不能使用：不是完整的 JSON：内容在第 4 行第 1 列意外结束");
    EXPECT_EQ(FaultOf(""), "项目文件不能使用：不是完整的 JSON：内容在第 1 行第 1 列意外结束");
    EXPECT_NE(FaultOf("{\"name\": \"\xFF\"}").find("第 1 行第 11 列"), std::string::npos);
    EXPECT_NE(FaultOf("// a comment\n{}").find("第 1 行第 1 列"), std::string::npos);
}

TEST(ProjectFile, AnotherFormatOrANewerVersionIsRefused) {
    EXPECT_EQ(FaultOf(R"({"format": "quorvel-results", "version": 1})"),
              "项目文件不能使用：不是 Quorvel 项目文件（format 应为 “quorvel-project”）");
    EXPECT_NE(FaultOf(R"({"version": 1})").find("不是 Quorvel 项目文件"), std::string::npos);
    EXPECT_NE(FaultOf("[1, 2]").find("不是 Quorvel 项目文件"), std::string::npos);
    EXPECT_EQ(
        FaultOf(R"({"format": "quorvel-project", "version": 2, "sources": "changed"})"),
        "项目文件不能使用：这个项目文件由更新版本的 Quorvel 写成（文件版本 2，本程序只能读版本 "
        "1），请用新版本的 Quorvel 打开");
    EXPECT_NE(
        FaultOf(R"({"format": "quorvel-project", "version": 0})").find("不支持的项目文件版本 0"),
        std::string::npos);
    EXPECT_NE(FaultOf(R"({"format": "quorvel-project"})").find("缺少成员 version"),
              std::string::npos);
    EXPECT_NE(FaultOf(R"({"format": "quorvel-project", "version": "1"})").find("version 应为数字"),
              std::string::npos);
    EXPECT_TRUE(ReadProject(R"({"format": "quorvel-project", "version": 1.0})").ok());
}

TEST(ProjectFile, AMemberOfTheWrongTypeIsNamedByItsPath) {
    const std::string source =
        R"({"id": "S%", "x": 1, "y": 2, "height": 5, "width": 40, "length": 60})";
    auto sourceWith = [&](int n) {
        return std::string(source).replace(source.find('%'), 1, std::to_string(n));
    };
    const std::string threeSources =
        FileWith(R"("sources": [)" + sourceWith(1) + ", " + sourceWith(2) +
                 R"(, {"id": "S3", "x": 1, "y": 2, "height": "5 m", "width": 40, "length": 60}])");
    EXPECT_EQ(FaultOf(threeSources), "项目文件不能使用：sources[2].height 应为数字");
    EXPECT_EQ(FaultOf(FileWith(R"("name": 5)")), "项目文件不能使用：name 应为文本");
    EXPECT_EQ(FaultOf(FileWith(R"("sources": {})")), "项目文件不能使用：sources 应为数组 […]");
    EXPECT_EQ(FaultOf(FileWith(R"("sources": [5])")), "项目文件不能使用：sources[0] 应为对象 {…}");
    EXPECT_EQ(FaultOf(FileWith(R"("emissions": [{"source": "S1", "pollutant": "氨", "rate": 1,
                                  "unit": "g/s", "hourly": "0.2"}])")),
              "项目文件不能使用：emissions[0].hourly 应为数字或 null");
    EXPECT_EQ(FaultOf(FileWith(R"("boundary": [[0, 0], [1, 0, 0], [1, 1]])")),
              "项目文件不能使用：boundary[1] 应为两个数字组成的数组 [x, y]");
    EXPECT_EQ(FaultOf(FileWith(R"("receptors": [{"name": "村", "x": 1, "y": true}])")),
              "项目文件不能使用：receptors[0].y 应为数字");
    EXPECT_EQ(FaultOf(FileWith(
                  R"("plan": {"image": "p.png", "points": [{"pixel": [1, 2], "site": [1, "2"]},
                                  {"pixel": [3, 4], "site": [5, 6]}]})")),
              "项目文件不能使用：plan.points[0].site[1] 应为数字");
    EXPECT_EQ(
        FaultOf(FileWith(R"("sources": [{"id": "S1", "x": 1, "y": 2, "height": 5, "width": 40}])")),
        "项目文件不能使用：缺少成员 sources[0].length");
    EXPECT_EQ(FaultOf(FileWith(R"("sources": [{"id": "S1", "x": 1e999, "y": 2}])")),
              "项目文件不能使用：sources[0].x 的数值超出范围");
}

TEST(ProjectFile, SourceIdsMustBeGivenAndUnique) {
    const std::string shape = R"("x": 1, "y": 2, "height": 5, "width": 40, "length": 60)";
    EXPECT_EQ(FaultOf(FileWith(R"("sources": [{"id": "S1", )" + shape + R"(}, {"id": "S2", )" +
                               shape + R"(}, {"id": "S1", )" + shape + "}]")),
              "项目文件不能使用：排放源编号 “S1” 重复（sources[0] 和 sources[2]）");
    EXPECT_EQ(FaultOf(FileWith(R"("sources": [{"id": "", )" + shape + "}]")),
              "项目文件不能使用：sources[0].id 为空：每个排放源都要有编号");
}

TEST(ProjectFile, ABoundaryThatCrossesItselfIsRefused) {
    const std::string message =
        FaultOf(FileWith(R"("boundary": [[0, 0], [300, 200], [300, 0], [0, 200]])"));
    EXPECT_EQ(message.rfind("项目文件不能使用：厂界 boundary 不能使用：厂界", 0), 0u) << message;
    EXPECT_NE(FaultOf(FileWith(R"("boundary": [[0, 0], [1, 1]])")).find("至少要有 3 个"),
              std::string::npos);
    EXPECT_TRUE(ReadProject(FileWith(R"("boundary": [])")).ok());
}

// Found by fuzzing: a vertex of 2e59 m made the boundary check throw.
TEST(ProjectFile, CoordinatesBeyondAnyPlantAreRefusedByTheirPath) {
    EXPECT_EQ(FaultOf(FileWith(R"("boundary": [[0, 0], [300, 0], [300, 2e59], [0, 200]])")),
              "项目文件不能使用：boundary[2][1] 的坐标超出范围（绝对值不能超过 100000000）");
    EXPECT_NE(FaultOf(FileWith(R"("receptors": [{"name": "村", "x": -1e9, "y": 0}])"))
                  .find("receptors[0].x 的坐标超出范围"),
              std::string::npos);
    EXPECT_TRUE(
        ReadProject(FileWith(R"("receptors": [{"name": "村", "x": 3.4e6, "y": -1e8}])")).ok());
}

TEST(ProjectFile, UnknownLocationOrUnitTextsAreRefused) {
    EXPECT_EQ(FaultOf(FileWith(R"("location": "city")")),
              "项目文件不能使用：location 应为 “urban” 或 “rural”，而不是 “city”");
    EXPECT_EQ(
        FaultOf(FileWith(
            R"("emissions": [{"source": "S1", "pollutant": "氨", "rate": 1, "unit": "kg/h"}])")),
        "项目文件不能使用：emissions[0].unit 应为 “g/s”、“kg/hr” 或 “t/a”，而不是 “kg/h”");
}

TEST(ProjectFile, APlanNeedsExactlyTwoDistinctPoints) {
    const std::string point = R"({"pixel": [1, 2], "site": [3, 4]})";
    const std::string other = R"({"pixel": [10, 20], "site": [30, 40]})";
    EXPECT_EQ(FaultOf(FileWith(R"("plan": {"image": "p.png", "points": [)" + point + "]}")),
              "项目文件不能使用：plan.points 应有两个点，现有 1 个");
    EXPECT_EQ(FaultOf(FileWith(R"("plan": {"image": "p.png", "points": [)" + point + ", " + other +
                               ", " + point + "]}")),
              "项目文件不能使用：plan.points 应有两个点，现有 3 个");
    EXPECT_NE(
        FaultOf(FileWith(R"("plan": {"image": "p.png", "points": [)" + point + ", " + point + "]}"))
            .find("同一个像素"),
        std::string::npos);
    EXPECT_NE(FaultOf(FileWith(R"("plan": {"points": [)" + point + ", " + other + "]}"))
                  .find("缺少成员 plan.image"),
              std::string::npos);
    EXPECT_TRUE(ReadProject(FileWith(R"("plan": {"image": "p.png", "points": [)" + point + ", " +
                                     other + "]}"))
                    .ok());
}

TEST(ProjectFile, OtherFaultsOfTheFile) {
    EXPECT_EQ(FaultOf(FileWith(R"("name": "a", "name": "b")")),
              "项目文件不能使用：文件中的成员 “name” 出现了不止一次");
    EXPECT_EQ(FaultOf(FileWith(R"("sources": [{"id": "S1", "x": 1, "x": 2}])")),
              "项目文件不能使用：sources[0] 中的成员 “x” 出现了不止一次");
    EXPECT_EQ(FaultOf(FileWith(R"("target_distance_m": 0)")),
              "项目文件不能使用：target_distance_m 应为大于 0 的距离（m）");
    const std::string deep =
        FileWith(R"("deep": )" + std::string(300, '[') + std::string(300, ']'));
    EXPECT_NE(FaultOf(deep).find("嵌套层次过深"), std::string::npos);
}

TEST(ProjectFile, RowFaultsAreNotFileFaults) {
    const Result<Project> project = ReadProject(FileWith(R"(
        "sources": [{"id": "S1", "x": 0, "y": 0, "height": 0, "width": 40, "length": 60},
                    {"id": "S2", "x": 0, "y": 0, "height": 5, "width": 1000, "length": 60}],
        "emissions": [{"source": "S1", "pollutant": "氨", "rate": 1, "unit": "g/s", "hourly": 0.2},
                      {"source": "S2", "pollutant": "氨", "rate": -1, "unit": "g/s", "hourly": 0.2},
                      {"source": "S2", "pollutant": "氨", "rate": 1, "unit": "g/s"},
                      {"source": "S9", "pollutant": "苯", "rate": 1, "unit": "g/s", "daily": 0}])"));
    ASSERT_TRUE(project.ok()) << Message(project);
    for (std::size_t i = 0; i < project.value().emissions.size(); ++i) {
        EXPECT_FALSE(EmissionInputs(project.value(), i).ok()) << i;
    }
}

TEST(ProjectFile, OpeningAMissingFileOrAFaultyOneNamesTheFile) {
    ScratchFolder folder;
    const fs::path missing = folder.path() / "missing.qvproj";
    const Result<Project> none = OpenProject(missing);
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(Message(none), "无法打开项目文件: " + missing.string() + "（路径不存在）");

    const fs::path faulty = folder.path() / "faulty.qvproj";
    WriteBytes(faulty, FileWith(R"("location": "city")"));
    const Result<Project> refused = OpenProject(faulty);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(Message(refused), "项目文件 " + faulty.string() +
                                    " 不能使用：location 应为 “urban” 或 “rural”，而不是 “city”");

    const Result<Project> folderItself = OpenProject(folder.path());
    ASSERT_FALSE(folderItself.ok());
    EXPECT_NE(Message(folderItself).find("这是文件夹"), std::string::npos);
}

TEST(ProjectFile, SavingIntoAMissingFolderFailsWithThePathAndTheReason) {
    ScratchFolder folder;
    const fs::path file = folder.path() / "missing" / "a.qvproj";
    const Status saved = SaveProject(file, Sample());
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(ToUtf8(saved.error()), "无法保存文件: " + file.string() + "（路径不存在）");
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
}  // namespace quorvel::project

namespace quorvel::project {
namespace {

TEST(ProjectFile, FieldFilesAreReadCheckedAndWrittenBack) {
    const std::string text = FileWith(R"("fields": [
        {"pollutant": "非甲烷总烃", "file": "预测/NMHC_1HR.PLT", "format": "aermod-plot",
         "offset": [512345.0, 3401234.0], "rank": "1ST", "model_run": "2026-11"},
        {"pollutant": "氨", "file": "nh3.grd", "average": "24-HR"}])");
    const Result<Project> read = ReadProject(text);
    ASSERT_TRUE(read.ok()) << Message(read);
    const std::vector<FieldFile>& fields = read.value().fields;
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].file, "预测/NMHC_1HR.PLT");
    EXPECT_EQ(fields[0].offset, (SitePoint{512345.0, 3401234.0}));
    EXPECT_EQ(fields[0].rank, "1ST");
    EXPECT_EQ(fields[0].unknown, R"({"model_run":"2026-11"})");
    EXPECT_EQ(fields[1].format, "");
    EXPECT_EQ(fields[1].offset, (SitePoint{0, 0}));
    EXPECT_EQ(fields[1].average, "24-HR");
    // Written and read again: the same, the unknown member after the known ones.
    const std::string written = ProjectJson(read.value());
    EXPECT_NE(written.find(R"("rank": "1ST",
      "model_run": "2026-11")"),
              std::string::npos)
        << written;
    const Result<Project> again = ReadProject(written);
    ASSERT_TRUE(again.ok()) << Message(again);
    EXPECT_EQ(again.value(), read.value());
    EXPECT_EQ(ProjectJson(again.value()), written);

    EXPECT_EQ(
        FaultOf(FileWith(R"("fields": [{"pollutant": "氨", "file": "a", "format": "grd"}])")),
        "项目文件不能使用：fields[0].format 应为 “aermod-plot”、“surfer” 或 “csv”，而不是 “grd”");
    EXPECT_EQ(FaultOf(FileWith(R"("fields": [{"pollutant": "氨"}])")),
              "项目文件不能使用：缺少成员 fields[0].file");
    EXPECT_EQ(FaultOf(FileWith(R"("fields": [{"pollutant": "氨", "file": "a", "offset": [1]}])")),
              "项目文件不能使用：fields[0].offset 应为两个数字组成的数组 [x, y]");
    EXPECT_EQ(
        FaultOf(FileWith(
            R"("fields": [{"pollutant": "氨", "file": "a"}, {"pollutant": "氨", "file": "b"}])")),
        "项目文件不能使用：污染物 “氨” 的浓度场文件给了不止一个（fields[0] 和 fields[1]）");
}

}  // namespace
}  // namespace quorvel::project
