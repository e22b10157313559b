#include "ui/console/dxf_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/project/files/project_file.h"
#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using project::dxf::test_support::TestDrawing;
using project::test_support::ReadBytes;
using project::test_support::ScratchFolder;
using project::test_support::WriteBytes;

struct CommandRun {
    std::optional<int> code;
    std::string out;
    std::string err;
};

CommandRun RunCommand(const std::vector<std::u16string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> code = RunDxfCommand(arguments, out, err);
    return CommandRun{code, out.str(), err.str()};
}

std::u16string Text(const fs::path& path) { return PathText(path); }

TEST(DxfCommands, OtherCommandLinesAreLeftToTheBatch) {
    EXPECT_FALSE(RunCommand({u"project.qvproj", u"--sheet", u"a.html"}).code.has_value());
    const CommandRun bad = RunCommand({u"--list-layers", u"a.dxf", u"--save", u"p.qvproj"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("--list-layers 只能单独使用"), std::string::npos);
    const CommandRun noValue = RunCommand({u"--import-dxf"});
    EXPECT_EQ(noValue.code, 2);
    EXPECT_NE(noValue.err.find("--import-dxf 后面缺少值"), std::string::npos);
}

TEST(DxfCommands, TheLayersAreListedWithTheirEntitiesAndMarks) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const CommandRun run = RunCommand({u"--list-layers", Text(TestDrawing("r2000_gbk_mm.dxf"))});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("（AC1015，单位 mm）"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n厂界\tLWPOLYLINE 2\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n旧图（冻结）\tLINE 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n辅助（关闭）\tCIRCLE 1\n"), std::string::npos) << run.out;

    const CommandRun dwg = RunCommand({u"--list-layers", Text(TestDrawing("plan.dwg"))});
    EXPECT_EQ(dwg.code, 2);
    EXPECT_NE(dwg.err.find("plan.dwg"), std::string::npos);
    EXPECT_TRUE(dwg.out.empty());
}

TEST(DxfCommands, AProjectIsMadeThenExtendedKeepingWhatTheProgramDoesNotKnow) {
    QUORVEL_NEED_TEST_DRAWINGS();
    ScratchFolder folder;
    const fs::path file = folder.path() / PathFromText(u"厂区.qvproj");
    const std::u16string plan = Text(TestDrawing("r12_metres.dxf"));
    const CommandRun made = RunCommand({u"--import-dxf", plan, u"--boundary-layer", u"BOUNDARY",
                                        u"--unit", u"m", u"--save", Text(file)});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_NE(made.out.find("已建立项目"), std::string::npos) << made.out;

    // A member another program added survives the extension.
    std::string bytes = ReadBytes(file);
    bytes.insert(bytes.find("\"name\""), "\"editor\": {\"zoom\": 2},\n  ");
    WriteBytes(file, bytes);
    const CommandRun extended = RunCommand(
        {u"--import-dxf", plan, u"--boundary-layer", u"BOUNDARY", u"--source-layer", u"SOURCES",
         u"--height", u"8", u"--receptor-layer", u"RECEPTORS", u"--save", Text(file)});
    ASSERT_EQ(extended.code, 0) << extended.err;
    EXPECT_NE(extended.out.find("注意：项目原有的厂界已由图形中的厂界替换"), std::string::npos);
    EXPECT_NE(extended.out.find("已扩充项目"), std::string::npos);
    EXPECT_NE(extended.out.find("排放源 1 个，敏感目标 1 个"), std::string::npos);
    const Result<project::Project> project = project::OpenProject(file);
    ASSERT_TRUE(project.ok()) << ToUtf8(project.error());
    EXPECT_EQ(project.value().unknown, R"({"editor":{"zoom":2}})");
    ASSERT_EQ(project.value().sources.size(), 1u);
    EXPECT_EQ(project.value().sources[0].height, 8.0);
    ASSERT_TRUE(project.value().cad.has_value());
    EXPECT_TRUE(project.value().cad->file.ends_with("drawings/r12_metres.dxf"))
        << project.value().cad->file;
    EXPECT_EQ(project.value().cad->origin, (project::SitePoint{1000, 2000}));

    // Unusable: nothing is written.
    const std::string before = ReadBytes(file);
    for (const auto& arguments : std::vector<std::vector<std::u16string>>{
             {u"--import-dxf", plan, u"--source-layer", u"SOURCES", u"--height", u"8", u"--unit",
              u"mm", u"--save", Text(file)},
             {u"--import-dxf", Text(TestDrawing("truncated.dxf")), u"--boundary-layer", u"厂界",
              u"--save", Text(file)},
             {u"--import-dxf", plan, u"--boundary-layer", u"SOURCES", u"--height", u"8", u"--save",
              Text(file)},
             {u"--import-dxf", plan, u"--boundary-layer", u"BOUNDARY", u"--origin", u"1000",
              u"--save", Text(file)},
         }) {
        const CommandRun refused = RunCommand(arguments);
        EXPECT_EQ(refused.code, 2);
        EXPECT_FALSE(refused.err.empty());
        EXPECT_EQ(ReadBytes(file), before) << refused.err;
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"厂区.qvproj"});

    const fs::path other = folder.path() / "new.qvproj";
    const CommandRun noUnit = RunCommand(
        {u"--import-dxf", plan, u"--boundary-layer", u"BOUNDARY", u"--save", Text(other)});
    EXPECT_EQ(noUnit.code, 2);
    EXPECT_NE(noUnit.err.find("请选择图形的单位"), std::string::npos) << noUnit.err;
    EXPECT_FALSE(fs::exists(other));
}

TEST(DxfCommands, TheSheetDrawsTheTiedDrawingOrSaysWhyNot) {
    QUORVEL_NEED_TEST_DRAWINGS();
    project::Project project;
    std::ostringstream err;
    EXPECT_FALSE(SheetDrawing(project, "p.qvproj", err).has_value());
    project.cad = project::CadTie{
        "r12_metres.dxf", project::DrawingUnit::Metre, {1000, 2000}, 0.0, {"BOUNDARY"}, {}};
    const fs::path projectFile = TestDrawing("项目.qvproj");
    const std::optional<project::dxf::PlanDrawing> drawing =
        SheetDrawing(project, projectFile, err);
    ASSERT_TRUE(drawing.has_value()) << err.str();
    EXPECT_EQ(drawing->lines.size(), 1u);
    EXPECT_TRUE(err.str().empty());
    project.cad->file = "gone.dxf";
    EXPECT_FALSE(SheetDrawing(project, projectFile, err).has_value());
    EXPECT_NE(err.str().find("gone.dxf"), std::string::npos);
    EXPECT_NE(err.str().find("计算书中不画图形"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
