// The window's tables: the project as cell texts and back, the reasons shown
// on cells that cannot be used, and adding and deleting rows.

#include <gtest/gtest.h>

#include "calc/project/files/project_file.h"
#include "calc/unicode_text.h"
#include "ui/core/project_tables.h"

namespace quorvel {
namespace {

using project::Project;

Project SampleProject() {
    Project p;
    p.name = "示例化工项目";
    p.location = project::Location::Rural;
    p.sources = {{"S1", "罐区", {120.5, -80}, 30, 5, 40, 60, R"({"colour":"red"})"},
                 {"S2", "", {0.1, 0.2}, 0, 12.25, 20, 20, {}}};
    p.emissions = {{"S1", "非甲烷总烃", 0.12, project::RateUnit::KilogramsPerHour, 2.0,
                    std::nullopt, R"({"note":"设计值"})"},
                   {"S2", "氨", 3, project::RateUnit::TonnesPerYear, std::nullopt, 0.2, {}}};
    p.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    p.receptors = {{"王家村", {520, 150}, R"({"kind":"village"})"}};
    p.targetDistance = 250;
    p.plan = project::Plan{
        "厂区平面图.png", {{{{12, 30}, {0, 200}, {}}, {{912, 630}, {300, 0}, {}}}}, {}};
    p.cad = project::CadTie{"总平面布置图.dxf",
                            project::DrawingUnit::Millimetre,
                            {512345000, 3401234000},
                            12.5,
                            {"建筑"},
                            R"({"colour":"grey"})"};
    p.fields = {{"非甲烷总烃",
                 "预测/NMHC.PLT",
                 "aermod-plot",
                 {512345, 3401234},
                 "1-HR",
                 "1ST",
                 "ALL",
                 R"({"run":"A"})"}};
    p.unknown = R"({"author":"张工"})";
    return p;
}

// Sources S1 (fine) and an emission of it, to spoil one cell at a time.
ProjectTables GoodTables() {
    ProjectTables t;
    t.sources.rows = {{{u"S1", u"罐区", u"0", u"0", u"", u"5", u"40", u"60"}, {}}};
    t.emissions.rows = {{{u"S1", u"苯", u"0.5", u"kg/hr", u"0.3", u""}, {}}};
    return t;
}

constexpr std::size_t kId = 0, kHeight = 5, kWidth = 6, kLength = 7;
constexpr std::size_t kSource = 0, kPollutant = 1, kRate = 2, kUnit = 3, kHourly = 4, kDaily = 5;

TEST(ProjectTables, AProjectComesBackWhole_UnknownMembersIncluded) {
    const Project original = SampleProject();
    const ProjectTables tables = TablesFromProject(original);
    EXPECT_EQ(
        tables.sources.rows[0].cells,
        (std::vector<std::u16string>{u"S1", u"罐区", u"120.5", u"-80", u"30", u"5", u"40", u"60"}));
    EXPECT_EQ(tables.emissions.rows[0].cells,
              (std::vector<std::u16string>{u"S1", u"非甲烷总烃", u"0.12", u"kg/hr", u"2", u""}));
    EXPECT_EQ(tables.emissions.rows[1].cells[kUnit], u"t/a");
    EXPECT_EQ(tables.boundary.rows.size(), 4u);
    EXPECT_EQ(tables.fields.rows[0].cells,
              (std::vector<std::u16string>{u"非甲烷总烃", u"预测/NMHC.PLT", u"aermod-plot",
                                           u"512345", u"3401234", u"1-HR"}));

    const Result<Project> back = ProjectFromTables(tables);
    ASSERT_TRUE(back) << ToUtf8(back.error());
    EXPECT_EQ(back.value(), original);
    EXPECT_EQ(project::ProjectJson(back.value()), project::ProjectJson(original));
}

TEST(ProjectTables, BlankRowsAreLeftOutAndAnEmptyAngleIsZero) {
    ProjectTables t = GoodTables();
    AddRows(t.sources, 0);
    AddRows(t.emissions, 5, 2);
    t.sources.rows.back().cells[4] = u" ";
    const Result<Project> p = ProjectFromTables(t);
    ASSERT_TRUE(p) << ToUtf8(p.error());
    ASSERT_EQ(p.value().sources.size(), 1u);
    EXPECT_EQ(p.value().sources[0].angle, 0.0);
    EXPECT_EQ(p.value().emissions.size(), 1u);
    for (std::size_t c = 0; c < 8; ++c) EXPECT_EQ(CellProblem(t, TableId::Sources, 0, c), u"");
    EXPECT_TRUE(AllCellProblems(t).empty());
}

TEST(ProjectTables, CellsThatNoFileCanHoldAreMarkedAndRefuseTheProject) {
    ProjectTables t = GoodTables();
    t.sources.rows[0].cells[kHeight] = u"5米";
    EXPECT_EQ(CellProblem(t, TableId::Sources, 0, kHeight), u"“5米”不是数字");
    const Result<Project> p = ProjectFromTables(t);
    ASSERT_FALSE(p);
    EXPECT_EQ(p.error(), u"排放源表第 1 行“有效高度 (m)”：“5米”不是数字");
    EXPECT_EQ(t.sources.rows[0].cells[kHeight], u"5米");  // kept as typed

    t = GoodTables();
    t.emissions.rows[0].cells[kUnit] = u"kg/h";
    EXPECT_NE(CellProblem(t, TableId::Emissions, 0, kUnit).find(u"不是可用的单位"),
              std::u16string::npos);
    EXPECT_FALSE(ProjectFromTables(t));

    t = GoodTables();
    t.sources.rows.push_back(t.sources.rows[0]);
    EXPECT_EQ(CellProblem(t, TableId::Sources, 0, kId), u"");
    EXPECT_NE(CellProblem(t, TableId::Sources, 1, kId).find(u"与第 1 行重复"),
              std::u16string::npos);
    t.sources.rows[1].cells[kId] = u"";
    EXPECT_EQ(CellProblem(t, TableId::Sources, 1, kId), u"编号不能为空");

    t = GoodTables();
    t.sources.rows[0].cells[2] = u"2e8";
    EXPECT_NE(CellProblem(t, TableId::Sources, 0, 2).find(u"坐标超出范围"), std::u16string::npos);
    for (const char16_t* notNumber : {u"inf", u"nan", u"0x10", u"1,200", u"1e", u"."}) {
        t.sources.rows[0].cells[2] = notNumber;
        EXPECT_NE(CellProblem(t, TableId::Sources, 0, 2), u"") << ToUtf8(notNumber);
    }
    t.sources.rows[0].cells[2] = u" +1.5E2 ";
    EXPECT_EQ(CellProblem(t, TableId::Sources, 0, 2), u"");
}

TEST(ProjectTables, RowFaultsTheRunWouldRefuseAreMarkedButTheProjectStillSaves) {
    ProjectTables t = GoodTables();
    t.sources.rows[0].cells[kHeight] = u"0";
    EXPECT_EQ(CellProblem(t, TableId::Sources, 0, kHeight), u"有效高度应大于 0（现为 0）");
    EXPECT_TRUE(ProjectFromTables(t));

    t = GoodTables();
    t.sources.rows[0].cells[kWidth] = u"700";
    EXPECT_NE(CellProblem(t, TableId::Sources, 0, kWidth).find(u"0.1 到 10"), std::u16string::npos);
    EXPECT_NE(CellProblem(t, TableId::Sources, 0, kLength).find(u"0.1 到 10"),
              std::u16string::npos);

    t = GoodTables();
    t.emissions.rows[0].cells[kSource] = u"S9";
    EXPECT_EQ(CellProblem(t, TableId::Emissions, 0, kSource), u"没有编号为“S9”的排放源");

    t = GoodTables();
    t.emissions.rows[0].cells[kHourly] = u"";
    EXPECT_NE(CellProblem(t, TableId::Emissions, 0, kHourly).find(u"未设置评价标准"),
              std::u16string::npos);
    EXPECT_NE(CellProblem(t, TableId::Emissions, 0, kDaily), u"");
    t.emissions.rows[0].cells[kDaily] = u"-1";
    EXPECT_EQ(CellProblem(t, TableId::Emissions, 0, kHourly), u"");
    EXPECT_EQ(CellProblem(t, TableId::Emissions, 0, kDaily), u"日均标准应大于 0（现为 -1）");

    t = GoodTables();
    t.emissions.rows.push_back(t.emissions.rows[0]);
    EXPECT_EQ(CellProblem(t, TableId::Emissions, 0, kPollutant), u"");
    EXPECT_NE(CellProblem(t, TableId::Emissions, 1, kPollutant).find(u"第 1 行已有这种污染物"),
              std::u16string::npos);

    t = GoodTables();
    t.emissions.rows[0].cells[kRate] = u"-0.5";
    EXPECT_EQ(CellProblem(t, TableId::Emissions, 0, kRate), u"排放率应大于 0（现为 -0.5）");
    EXPECT_EQ(AllCellProblems(t).size(), 1u);
}

TEST(ProjectTables, WhatOnlyTheMainWindowsCheckRefusesIsShownOnTheRate) {
    ProjectTables t = GoodTables();
    t.sources.rows[0].cells[kHeight] = u"1e39";  // beyond the model's single precision
    const std::u16string problem = CellProblem(t, TableId::Emissions, 0, kRate);
    EXPECT_NE(problem.find(u"排放高度"), std::u16string::npos) << ToUtf8(problem);
    EXPECT_EQ(problem.find(u"排放源“S1”"), std::u16string::npos);  // the reason only
}

TEST(ProjectTables, ABoundaryThatCrossesItselfIsToldAndRefused) {
    ProjectTables t = GoodTables();
    t.boundary.rows = {{{u"0", u"0"}, {}, {}, {}},
                       {{u"10", u"10"}, {}, {}, {}},
                       {{u"10", u"0"}, {}, {}, {}},
                       {{u"0", u"10"}, {}}};
    EXPECT_NE(BoundaryProblem(t), u"");
    const Result<Project> p = ProjectFromTables(t);
    ASSERT_FALSE(p);
    EXPECT_EQ(p.error().rfind(u"厂界：", 0), 0u);
    t.boundary.rows[3].cells[0] = u"x";  // not yet a number: the cell says so
    EXPECT_EQ(BoundaryProblem(t), u"");
}

TEST(ProjectTables, RowsAreAddedWhereAskedAndDeletedByIndex) {
    Table table{TableId::Receptors, {}};
    EXPECT_EQ(AddRows(table, 99, 3), 0u);
    table.rows[1].cells[0] = u"b";
    EXPECT_EQ(AddRows(table, 1), 1u);
    EXPECT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[2].cells[0], u"b");
    EXPECT_EQ(table.rows[1].cells.size(), 3u);
    EXPECT_EQ(DeleteRows(table, {3, 0, 3, 17}), 2u);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1].cells[0], u"b");
}

// The 预测浓度场 table: a row per field file, its offsets optional, its
// pollutant once and one that the emissions have, a known format.
TEST(ProjectTables, FieldFileRowsBecomeTheProjectsFieldsAndTheirFaultsAreMarked) {
    constexpr std::size_t kFieldPollutant = 0, kFile = 1, kFormat = 2, kOffsetX = 3;
    ProjectTables t = GoodTables();
    AddRows(t.fields, 0);
    t.fields.rows[0].cells[kFieldPollutant] = u"苯";
    t.fields.rows[0].cells[kFile] = u"预测/苯.grd";
    Result<Project> p = ProjectFromTables(t);
    ASSERT_TRUE(p) << ToUtf8(p.error());
    ASSERT_EQ(p.value().fields.size(), 1u);
    EXPECT_EQ(p.value().fields[0].file, "预测/苯.grd");
    EXPECT_EQ(p.value().fields[0].offset, (project::SitePoint{0, 0}));
    EXPECT_EQ(p.value().fields[0].format, "");
    EXPECT_TRUE(AllCellProblems(t).empty());

    t.fields.rows[0].cells[kFormat] = u"grd";
    EXPECT_NE(CellProblem(t, TableId::Fields, 0, kFormat).find(u"不是可用的格式"),
              std::u16string::npos);
    EXPECT_FALSE(ProjectFromTables(t));  // no project file holds it
    t.fields.rows[0].cells[kFormat] = u"surfer";
    t.fields.rows[0].cells[kOffsetX] = u"东";
    EXPECT_EQ(CellProblem(t, TableId::Fields, 0, kOffsetX), u"“东”不是数字");
    t.fields.rows[0].cells[kOffsetX] = u"512000";
    EXPECT_EQ(ProjectFromTables(t).value().fields[0].offset.x, 512000.0);

    // A second field of 苯 cannot be read back; a pollutant without emissions
    // is marked but kept, for the field to refuse.
    t.fields.rows.push_back(t.fields.rows[0]);
    EXPECT_NE(CellProblem(t, TableId::Fields, 1, kFieldPollutant).find(u"第 1 行已有"),
              std::u16string::npos);
    EXPECT_FALSE(ProjectFromTables(t));
    t.fields.rows[1].cells[kFieldPollutant] = u"氨";
    EXPECT_NE(CellProblem(t, TableId::Fields, 1, kFieldPollutant).find(u"没有“氨”的排放"),
              std::u16string::npos);
    EXPECT_TRUE(ProjectFromTables(t));
    t.fields.rows[1].cells[kFile] = u" ";
    EXPECT_EQ(CellProblem(t, TableId::Fields, 1, kFile), u"请填写浓度场文件");
    EXPECT_FALSE(ProjectFromTables(t));
}

}  // namespace
}  // namespace quorvel
