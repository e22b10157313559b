// Pollutant fields read from files in the combined field: the rule on a
// known bump, the standard each period chooses, grids that end, and the
// faults of one pollutant beside the others computed.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "calc/project/field/compute_field.h"
#include "calc/project/field/file_function.h"
#include "calc/project/field/files/surfer_grid.h"
#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using test_support::WriteBytes;

// The file coordinates of the site's origin.
constexpr SitePoint kOffset{512000.0, 3401000.0};

// A grid of the bump of current_rule_test (at or above `level` within
// `radius` m of `centre` when scale is `level`), in the file's coordinates,
// over [x0, x1] x [y0, y1] site metres, `step` m apart.
FileGrid BumpGrid(SitePoint centre, double radius, double level, double x0, double x1, double y0,
                  double y1, double step) {
    FileGrid g;
    g.minX = x0 + kOffset.x;
    g.minY = y0 + kOffset.y;
    g.stepX = g.stepY = step;
    g.columns = static_cast<int>(std::lround((x1 - x0) / step)) + 1;
    g.rows = static_cast<int>(std::lround((y1 - y0) / step)) + 1;
    const double sigma = 0.5 * radius;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            const double d = std::hypot(x0 + c * step - centre.x, y0 + r * step - centre.y);
            g.values.push_back(level * std::exp(2.0) * std::exp(-0.5 * d * d / (sigma * sigma)));
        }
    }
    return g;
}

// A plant of 300 x 200 m with one source inside; 苯 has S = 1 ug/m^3 by the
// hour and 2 ug/m^3 by the day; 氨 is left to the screening field.
Project Plant() {
    Project p;
    p.sources = {{"S1", "罐区", {150, 100}, 0, 5, 20, 20, {}}};
    p.emissions = {{"S1", "苯", 0.01, RateUnit::GramsPerSecond, 0.001, 0.002, {}},
                   {"S1", "氨", 0.01, RateUnit::GramsPerSecond, 0.2, std::nullopt, {}}};
    p.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    return p;
}

FieldFile Entry(const std::string& pollutant, const std::string& file) {
    FieldFile f;
    f.pollutant = pollutant;
    f.file = file;
    f.offset = kOffset;
    return f;
}

const PollutantFieldResult& Named(const FieldResult& r, const std::string& pollutant) {
    for (const PollutantFieldResult& p : r.pollutants) {
        if (p.pollutant == pollutant) return p;
    }
    static const PollutantFieldResult none;
    ADD_FAILURE() << "no " << pollutant;
    return none;
}

TEST(FileField, TheRuleOnAKnownBumpReadFromAFile) {
    ScratchFolder folder;
    // A disc of 40 m about (330, 100): 30 m of it lies beyond side 2 (x = 300).
    WriteBytes(folder.path() / PathFromText(u"苯_1小时.grd"),
               SurferGridText(BumpGrid({330, 100}, 40, 1.0, 200, 460, -40, 240, 2.0)));
    Project project = Plant();
    project.fields = {Entry("苯", "苯_1小时.grd")};
    project.receptors = {{"近村", {366, 100}, {}}, {"远村", {900, 100}, {}}};
    const FieldResult r = ComputeField(project, folder.path());
    EXPECT_EQ(r.method, "mixed");
    ASSERT_EQ(r.pollutants.size(), 2u);
    const PollutantFieldResult& p = r.pollutants[0];
    ASSERT_EQ(p.pollutant, "苯");
    ASSERT_TRUE(p.error.empty()) << ToUtf8(p.error);
    EXPECT_EQ(p.source, "苯_1小时.grd");
    ASSERT_TRUE(p.origin);
    EXPECT_EQ(p.origin->format, "surfer");
    EXPECT_EQ(p.origin->average, "1-HR");
    ASSERT_EQ(p.origin->grids.size(), 1u);
    EXPECT_EQ(p.origin->grids[0].minX, 200.0);
    EXPECT_EQ(p.origin->grids[0].stepX, 2.0);
    EXPECT_EQ(p.standard, 1.0);
    EXPECT_NEAR(*p.distance, 70.0, 0.1);
    EXPECT_NEAR(p.distanceAt->x, 370.0, 0.5);
    const double segment = 1600.0 * std::acos(0.75) - 30.0 * std::sqrt(700.0);
    EXPECT_NEAR(p.exceedanceArea / (std::numbers::pi * 1600.0 - segment), 1.0, 0.015);
    EXPECT_EQ(r.exceedingSides, std::vector<int>{2});
    const double d = *r.distance;
    EXPECT_NEAR(d, 70.0, 0.1);
    EXPECT_EQ(r.decidingPollutant, "苯");
    EXPECT_NEAR(*r.area / (200.0 * d + std::numbers::pi * d * d), 1.0, 1e-4);
    ASSERT_TRUE(p.maxOutside);
    EXPECT_NEAR(p.maxOutside->ratio, std::exp(2.0), 1e-3);
    EXPECT_TRUE(p.maxOutside->stabilityClass.empty());
    EXPECT_FALSE(p.maxOutside->windSpeed);
    EXPECT_TRUE(p.maxOutside->shares.empty());
    EXPECT_TRUE(p.final) << ToUtf8(p.note);
    // The screening field of 氨 is computed beside it.
    EXPECT_EQ(r.pollutants[1].source, "screening");
    EXPECT_TRUE(r.pollutants[1].error.empty());
    // The near village gets the file's value; the far one lies outside the
    // grid and is left out for 苯, with a note.
    ASSERT_EQ(r.receptors.size(), 2u);
    ASSERT_EQ(r.receptors[0].pollutants.size(), 2u);
    EXPECT_EQ(r.receptors[0].pollutants[0].pollutant, "苯");
    EXPECT_NEAR(r.receptors[0].pollutants[0].value.c,
                std::exp(2.0) * std::exp(-0.5 * 36.0 * 36.0 / 400.0), 1e-9);
    EXPECT_TRUE(r.receptors[0].inArea);
    ASSERT_EQ(r.receptors[1].pollutants.size(), 1u);
    EXPECT_EQ(r.receptors[1].pollutants[0].pollutant, "氨");
    EXPECT_NE(ToUtf8(p.note).find("敏感目标 远村 不在浓度场文件的网格内"), std::string::npos);
}

TEST(FileField, AnExceedanceReachingTheGridsEdgeIsNotFinal) {
    ScratchFolder folder;
    // The grid ends at x = 340, inside the disc.
    WriteBytes(folder.path() / "cut.grd",
               SurferGridText(BumpGrid({330, 100}, 40, 1.0, 200, 340, -40, 240, 2.0)));
    Project project = Plant();
    project.emissions.pop_back();
    project.fields = {Entry("苯", "cut.grd")};
    const FieldResult r = ComputeField(project, folder.path());
    EXPECT_EQ(r.method, "file");
    const PollutantFieldResult& p = Named(r, "苯");
    ASSERT_TRUE(p.error.empty()) << ToUtf8(p.error);
    EXPECT_FALSE(p.final);
    EXPECT_NE(ToUtf8(p.note).find("超标区域达到浓度场文件网格的边缘"), std::string::npos)
        << ToUtf8(p.note);
    EXPECT_NEAR(*p.distance, 40.0, 0.5);  // as far as the grid goes
}

TEST(FileField, ADailyFieldComparesWithTheDailyStandard) {
    ScratchFolder folder;
    // At or above 2 (the daily standard x 1000) within 40 m.
    const FileGrid g = BumpGrid({330, 100}, 40, 2.0, 200, 460, -40, 240, 4.0);
    std::string csv = "X坐标,Y坐标,浓度(μg/m³)\n";
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            csv += std::to_string(g.minX + c * g.stepX) + "," +
                   std::to_string(g.minY + r * g.stepY) + "," + std::to_string(g.Value(c, r)) +
                   "\n";
        }
    }
    WriteBytes(folder.path() / "daily.csv", csv);
    Project project = Plant();
    project.fields = {Entry("苯", "daily.csv")};
    project.fields[0].average = "24-HR";
    const FieldResult daily = ComputeField(project, folder.path());
    const PollutantFieldResult& p = Named(daily, "苯");
    ASSERT_TRUE(p.error.empty()) << ToUtf8(p.error);
    EXPECT_EQ(p.standard, 2.0);
    EXPECT_EQ(p.origin->average, "24-HR");
    EXPECT_EQ(p.origin->format, "csv");
    EXPECT_NEAR(*p.distance, 70.0, 0.2);
    // Without a daily standard it is refused; 氨 is still computed.
    project.emissions[0].daily.reset();
    const FieldResult refused = ComputeField(project, folder.path());
    EXPECT_NE(ToUtf8(Named(refused, "苯").error).find("24 小时平均，而污染物“苯”没有日均标准"),
              std::string::npos)
        << ToUtf8(Named(refused, "苯").error);
    EXPECT_EQ(Named(refused, "苯").source, "daily.csv");
    EXPECT_TRUE(Named(refused, "氨").error.empty());
    EXPECT_TRUE(Named(refused, "氨").distance);
}

TEST(FileField, AnUnusableFileIsAFaultOfItsPollutantOnly) {
    ScratchFolder folder;
    WriteBytes(folder.path() / "bad.csv", "x,y,c\n0,0,1\n10,0,1\n0,10,oops\n10,10,1\n");
    WriteBytes(folder.path() / "periods.plt",
               "* header\n"
               "  0 0 1 0 0 0  1-HR  ALL  1ST  G\n  10 0 1 0 0 0  1-HR  ALL  1ST  G\n"
               "  0 0 1 0 0 0  24-HR  ALL  1ST  G\n  10 0 1 0 0 0  24-HR  ALL  1ST  G\n");
    Project project = Plant();
    project.emissions.push_back({"S1", "硫化氢", 0.01, RateUnit::GramsPerSecond, 0.01, {}, {}});
    project.emissions.push_back({"S1", "甲醇", 0.01, RateUnit::GramsPerSecond, 3.0, {}, {}});
    project.fields = {Entry("苯", "缺少.grd"), Entry("氨", "bad.csv"),
                      Entry("硫化氢", "periods.plt"), Entry("乙醛", "none.grd")};
    const FieldResult r = ComputeField(project, folder.path());
    ASSERT_EQ(r.pollutants.size(), 5u);
    EXPECT_EQ(r.method, "mixed");
    EXPECT_EQ(ToUtf8(Named(r, "苯").error).rfind("浓度场文件 “缺少.grd” 无法读取", 0), 0u)
        << ToUtf8(Named(r, "苯").error);
    EXPECT_EQ(ToUtf8(Named(r, "氨").error),
              "浓度场文件 “bad.csv” 不能使用：第 4 行：第 3 列应为数字，而不是 “oops”");
    EXPECT_NE(ToUtf8(Named(r, "硫化氢").error).find("多个平均时段：1-HR、24-HR"),
              std::string::npos);
    EXPECT_NE(ToUtf8(Named(r, "乙醛").error).find("项目中没有污染物“乙醛”的排放"),
              std::string::npos);
    EXPECT_EQ(Named(r, "乙醛").source, "none.grd");
    // 甲醇 from the screening field is computed.
    EXPECT_TRUE(Named(r, "甲醇").error.empty());
    EXPECT_TRUE(Named(r, "甲醇").distance);
}

TEST(FileField, APointTakesTheFinestGridThatCoversIt) {
    FileGrid coarse{0, 0, 100, 100, 3, 3, std::vector<double>(9, 1.0)};
    FileGrid fine{50, 50, 10, 10, 3, 3, std::vector<double>(9, 2.0)};
    fine.values[8] = std::nan("");  // no data at (70, 70): the coarse grid answers beside it
    FileField field{"aermod-plot", "1-HR", {fine, coarse}, {}};
    EXPECT_EQ(FileFieldValue(field, {55, 55}), 2.0);
    EXPECT_EQ(FileFieldValue(field, {65, 65}), 1.0);
    EXPECT_EQ(FileFieldValue(field, {150, 20}), 1.0);
    EXPECT_FALSE(FileFieldValue(field, {201, 20}));
    const FileFunction function({field});
    EXPECT_TRUE(function.Covers({200, 200}, 0));
    EXPECT_FALSE(function.Covers({-1, 0}, 0));
    EXPECT_EQ(function.At({-1, 0}, {0}).front().c, 0.0);
}

}  // namespace
}  // namespace quorvel::project
