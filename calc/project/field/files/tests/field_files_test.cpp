// The field files: each format, the offset, the grids and every refusal
// with its message.

#include "calc/project/field/files/field_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/project/field/files/csv_field.h"
#include "calc/project/field/files/surfer_grid.h"
#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

// A plot file header as the regulatory model writes it.
const std::string kPlotHeader =
    "* AERMOD ( 22112):  test run\n"
    "* MODELING OPTIONS USED: RegDFAULT CONC ELEV\n"
    "*         PLOT FILE OF  HIGH   1ST HIGH   1-HR VALUES FOR SOURCE GROUP: ALL\n"
    "*         FOR A TOTAL OF   12 RECEPTORS.\n"
    "*         FORMAT: (3(1X,F13.5),3(1X,F8.2),3X,A5,2X,A8,2X,A4,6X,A8)\n"
    "*        X             Y      AVERAGE CONC    ZELEV    ZHILL    ZFLAG    AVE     GRP       "
    "RANK    NET ID\n"
    "* ____________  ____________  ____________  ______  ______  ______  ______  ________  "
    "________  ________\n";

std::string PlotLine(double x, double y, double c, const std::string& ave = "1-HR",
                     const std::string& net = "GRID1", const std::string& rank = "1ST") {
    char line[200];
    std::snprintf(line, sizeof line,
                  " %13.5f %13.5f %13.5f %8.2f %8.2f %8.2f   %-5s  %-8s  %-4s      %-8s\n", x, y, c,
                  10.0, 10.0, 0.0, ave.c_str(), "ALL", rank.c_str(), net.c_str());
    return line;
}

// A plot file of a 3 x 2 grid whose value is x + 10 y (file coordinates).
std::string PlotGrid(double x0, double y0, double step, const std::string& net = "GRID1",
                     const std::string& ave = "1-HR") {
    std::string text;
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            const double x = x0 + c * step;
            const double y = y0 + r * step;
            text += PlotLine(x, y, (x - x0) + 10 * (y - y0), ave, net);
        }
    }
    return text;
}

FieldFile Entry(const std::string& format = "", SitePoint offset = {}) {
    FieldFile e;
    e.pollutant = "苯";
    e.file = "苯.PLT";
    e.format = format;
    e.offset = offset;
    return e;
}

std::string Error(const Result<FileField>& r) { return ToUtf8(r.error()); }

TEST(FieldFiles, APlotFileIsOneGridInSiteCoordinates) {
    const std::string text =
        kPlotHeader + PlotGrid(512000, 3401000, 25) + PlotLine(512100, 3401100, 9.0, "1-HR", "");
    EXPECT_EQ(FormatOfContent(text), "aermod-plot");
    const Result<FileField> r = ReadFieldFile(text, Entry("", {512000, 3401000}));
    ASSERT_TRUE(r.ok()) << Error(r);
    const FileField& f = r.value();
    EXPECT_EQ(f.format, "aermod-plot");
    EXPECT_EQ(f.average, "1-HR");
    ASSERT_EQ(f.grids.size(), 1u);
    EXPECT_EQ(f.grids[0].minX, 0.0);
    EXPECT_EQ(f.grids[0].minY, 0.0);
    EXPECT_EQ(f.grids[0].stepX, 25.0);
    EXPECT_EQ(f.grids[0].columns, 3);
    EXPECT_EQ(f.grids[0].rows, 2);
    // Bilinear within the cell, exact for a plane; nothing outside.
    EXPECT_NEAR(*GridValue(f.grids[0], {30, 5}), 30 + 50, 1e-9);
    EXPECT_FALSE(GridValue(f.grids[0], {-1, 5}));
    EXPECT_FALSE(GridValue(f.grids[0], {10, 26}));
    // The discrete receptor is counted in a note.
    EXPECT_NE(ToUtf8(f.note).find("1 个离散或厂界受体"), std::string::npos) << ToUtf8(f.note);
}

TEST(FieldFiles, TwoNetworksTheFinestFirst) {
    const std::string text =
        kPlotHeader + PlotGrid(0, 0, 100, "COARSE") + PlotGrid(50, 0, 10, "FINE");
    const Result<FileField> r = ReadFieldFile(text, Entry());
    ASSERT_TRUE(r.ok()) << Error(r);
    ASSERT_EQ(r.value().grids.size(), 2u);
    EXPECT_EQ(r.value().grids[0].stepX, 10.0);
    EXPECT_EQ(r.value().grids[1].stepX, 100.0);
}

TEST(FieldFiles, SeveralPeriodsAreRefusedUnlessOneIsPicked) {
    const std::string text =
        kPlotHeader + PlotGrid(0, 0, 10, "G", "1-HR") + PlotGrid(0, 0, 10, "G", "24-HR");
    const Result<FileField> refused = ReadFieldFile(text, Entry());
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(Error(refused).find("文件中有多个平均时段：1-HR、24-HR"), std::string::npos)
        << Error(refused);
    EXPECT_NE(Error(refused).find("average"), std::string::npos);
    FieldFile picked = Entry();
    picked.average = "24-hr";
    const Result<FileField> daily = ReadFieldFile(text, picked);
    ASSERT_TRUE(daily.ok()) << Error(daily);
    EXPECT_EQ(daily.value().average, "24-HR");
    picked.average = "8-HR";
    EXPECT_NE(Error(ReadFieldFile(text, picked)).find("没有平均时段 8-HR 的结果"),
              std::string::npos);
    // Ranks likewise.
    const std::string ranks =
        kPlotHeader + PlotLine(0, 0, 1) + PlotLine(0, 0, 1, "1-HR", "G", "2ND");
    EXPECT_NE(Error(ReadFieldFile(ranks, Entry())).find("多个排序：1ST、2ND"), std::string::npos);
}

TEST(FieldFiles, AnAnnualPeriodCannotChooseAStandard) {
    const std::string text = kPlotHeader + PlotGrid(0, 0, 10, "G", "ANNUAL");
    EXPECT_NE(Error(ReadFieldFile(text, Entry())).find("平均时段 ANNUAL 不能用于防护距离"),
              std::string::npos);
}

TEST(FieldFiles, FaultsNameTheLine) {
    // A point off the lattice: line 8 + 4.
    std::string text = kPlotHeader + PlotGrid(0, 0, 10);
    text += PlotLine(13, 0, 1.0);
    EXPECT_NE(Error(ReadFieldFile(text, Entry()))
                  .find("网格 GRID1：第 14 行：点 (13, 0) 不在等间距的网格线上"),
              std::string::npos)
        << Error(ReadFieldFile(text, Entry()));
    // Unequal spacing.
    const std::string uneven = kPlotHeader + PlotLine(0, 0, 1) + PlotLine(10, 0, 1) +
                               PlotLine(25, 0, 1) + PlotLine(0, 10, 1) + PlotLine(10, 10, 1) +
                               PlotLine(25, 10, 1);
    EXPECT_NE(
        Error(ReadFieldFile(uneven, Entry()))
            .find("第 10 行：点 (25, 0) 不在等间距的网格线上（x 坐标间距不相等），不是规则网格"),
        std::string::npos);
    // A missing point.
    const std::string holed =
        kPlotHeader + PlotLine(0, 0, 1) + PlotLine(10, 0, 1) + PlotLine(0, 10, 1);
    EXPECT_NE(Error(ReadFieldFile(holed, Entry())).find("缺少点 (10, 10)"), std::string::npos);
    // A bad number.
    const std::string bad =
        kPlotHeader + PlotGrid(0, 0, 10) + " 1.0 abc 2.0 1 1 1 1-HR ALL 1ST G\n";
    EXPECT_NE(Error(ReadFieldFile(bad, Entry())).find("第 14 行：Y 坐标应为数字，而不是 “abc”"),
              std::string::npos)
        << Error(ReadFieldFile(bad, Entry()));
}

TEST(FieldFiles, ASurferGridWithABlankCell) {
    const std::string text =
        "DSAA\r\n3 2\r\n100 140\r\n200 210\r\n0 5\r\n0 1 2\r\n3 4 1.70141e38\r\n";
    EXPECT_EQ(FormatOfContent(text), "surfer");
    const Result<FileField> r = ReadFieldFile(text, Entry("", {100, 200}));
    ASSERT_TRUE(r.ok()) << Error(r);
    const FileGrid& g = r.value().grids[0];
    EXPECT_EQ(g.stepX, 20.0);
    EXPECT_EQ(g.stepY, 10.0);
    EXPECT_NEAR(*GridValue(g, {10, 5}), 0.25 * (0 + 1 + 3 + 4), 1e-12);
    EXPECT_FALSE(GridValue(g, {30, 5}));  // a corner is blank
    EXPECT_EQ(r.value().average, "1-HR");
    // Written and read again, the same.
    const Result<FileGrid> again = ReadSurferGrid(SurferGridText(g));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value().values.size(), 6u);
    EXPECT_TRUE(std::isnan(again.value().values[5]));
    EXPECT_EQ(again.value().values[4], 4.0);
    // Faults.
    EXPECT_NE(
        Error(ReadFieldFile("DSAA\n3 2\n0 1\n0 1\n0 1\n1 2 3\n4 5\n", Entry())).find("只有 5 个"),
        std::string::npos);
    EXPECT_NE(Error(ReadFieldFile("DSAA\n3 2\n0 1\n0 1\n0 1\n1 2 x\n4 5 6\n", Entry()))
                  .find("第 6 行：网格值应为数字，而不是 “x”"),
              std::string::npos);
    EXPECT_NE(Error(ReadFieldFile("DSBB\x02\x00", Entry("surfer"))).find("二进制"),
              std::string::npos);
}

TEST(FieldFiles, ACsvTableInChineseOrEnglishUtf8OrGb18030) {
    const std::string utf8 =
        "x (m),y (m),浓度（μg/m³）,备注\n0,0,1,a\n10,0,2,\n0,10,3,\n10,10,4,\n";
    EXPECT_EQ(FormatOfContent(utf8), "csv");
    const Result<FileField> r = ReadFieldFile(utf8, Entry());
    ASSERT_TRUE(r.ok()) << Error(r);
    EXPECT_EQ(r.value().format, "csv");
    EXPECT_NEAR(*GridValue(r.value().grids[0], {5, 5}), 2.5, 1e-12);
    // "浓度" in GB18030: C5 A8 B6 C8.
    const std::string gb = "X,Y,\xC5\xA8\xB6\xC8\r\n0,0,1\r\n10,0,2\r\n0,10,3\r\n10,10,4\r\n";
    FieldFile daily = Entry("csv");
    daily.average = "24-HR";
    const Result<FileField> g = ReadFieldFile(gb, daily);
    ASSERT_TRUE(g.ok()) << Error(g);
    EXPECT_EQ(g.value().average, "24-HR");
    const std::string english = "X,Y,Concentration\n0,0,1\n10,0,2\n0,10,3\n10,10,4\n";
    EXPECT_TRUE(ReadFieldFile(english, Entry()).ok());
    EXPECT_NE(Error(ReadFieldFile("x,y\n0,0\n", Entry())).find("第 1 行：表头缺少 浓度 列"),
              std::string::npos);
    EXPECT_NE(
        Error(ReadFieldFile("x,y,c\n0,0,1\n0,1,-\n", Entry())).find("第 3 行：第 3 列应为数字"),
        std::string::npos);
    // A CSV table round trip.
    const Result<std::vector<FieldSample>> back = ReadCsvField(CsvFieldText(r.value().grids[0]));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().size(), 4u);
    EXPECT_EQ(back.value()[3].c, 4.0);
}

TEST(FieldFiles, LoadingNamesTheFileAsTheProjectGivesIt) {
    test_support::ScratchFolder folder;
    FieldFile entry = Entry();
    entry.file = "预测/苯_1HR.PLT";
    const Result<FileField> missing = LoadFieldFile(folder.path(), entry);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(Error(missing).rfind("浓度场文件 “预测/苯_1HR.PLT” 无法读取", 0), 0u)
        << Error(missing);
    std::filesystem::create_directories(folder.path() / PathFromText(u"预测"));
    test_support::WriteBytes(folder.path() / PathFromText(u"预测/苯_1HR.PLT"),
                             kPlotHeader + PlotGrid(0, 0, 10));
    const Result<FileField> read = LoadFieldFile(folder.path(), entry);
    ASSERT_TRUE(read.ok()) << Error(read);
    test_support::WriteBytes(folder.path() / PathFromText(u"预测/苯_1HR.PLT"), kPlotHeader);
    EXPECT_EQ(Error(LoadFieldFile(folder.path(), entry))
                  .rfind("浓度场文件 “预测/苯_1HR.PLT” 不能使用：文件中没有受体浓度行", 0),
              0u);
}

}  // namespace
}  // namespace quorvel::project
