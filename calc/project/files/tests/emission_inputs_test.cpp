#include "calc/project/files/emission_inputs.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

Project TankFarm() {
    Project project;
    project.sources.push_back(Source{"S1", "罐区", {120, 80}, 30, 5, 40, 60, {}});
    project.sources.push_back(Source{"S2", "", {240, 150}, 0, 3, 20, 35, {}});
    project.emissions.push_back(
        Emission{"S1", "非甲烷总烃", 0.12, RateUnit::KilogramsPerHour, 2.0, std::nullopt, {}});
    project.emissions.push_back(
        Emission{"S2", "颗粒物", 0.01, RateUnit::GramsPerSecond, std::nullopt, 0.3, {}});
    return project;
}

std::string ErrorOf(const Project& project, std::size_t index) {
    const Result<CalculationInputs> inputs = EmissionInputs(project, index);
    EXPECT_FALSE(inputs.ok());
    return ToUtf8(inputs.error());
}

TEST(EmissionInputs, TheWindowsTenInputs) {
    const Result<CalculationInputs> inputs = EmissionInputs(TankFarm(), 0);
    ASSERT_TRUE(inputs.ok()) << ToUtf8(inputs.error());
    const CalculationInputs& in = inputs.value();
    EXPECT_EQ(in.HeightText, u"5 m");
    EXPECT_EQ(in.WidthText, u"40 m");
    EXPECT_EQ(in.LengthText, u"60 m");
    EXPECT_EQ(in.RateText, u"0.12");
    EXPECT_EQ(in.RateUnit, 1);
    EXPECT_TRUE(in.HourlyChecked);
    EXPECT_EQ(in.HourlyStandardText, u"2");
    EXPECT_FALSE(in.DailyChecked);
    EXPECT_EQ(in.DailyStandardText, u"");
    EXPECT_EQ(in.LocationIndex, 1);
}

TEST(EmissionInputs, DailyStandardOnlyAndTheRuralLocation) {
    Project project = TankFarm();
    project.location = Location::Rural;
    const Result<CalculationInputs> inputs = EmissionInputs(project, 1);
    ASSERT_TRUE(inputs.ok()) << ToUtf8(inputs.error());
    EXPECT_EQ(inputs.value().HeightText, u"3 m");
    EXPECT_EQ(inputs.value().RateText, u"0.01");
    EXPECT_EQ(inputs.value().RateUnit, 0);
    EXPECT_FALSE(inputs.value().HourlyChecked);
    EXPECT_EQ(inputs.value().HourlyStandardText, u"");
    EXPECT_TRUE(inputs.value().DailyChecked);
    EXPECT_EQ(inputs.value().DailyStandardText, u"0.3");
    EXPECT_EQ(inputs.value().LocationIndex, 0);
}

TEST(EmissionInputs, NumbersInTheirShortestExactForm) {
    Project project = TankFarm();
    project.sources[0].height = 0.1 + 0.2;
    project.sources[0].width = 12.5;
    project.sources[0].length = 1e2;
    project.emissions[0].rate = 3.0e-7;
    project.emissions[0].unit = RateUnit::TonnesPerYear;
    project.emissions[0].hourly = 0.05;
    project.emissions[0].daily = 0.02;
    const Result<CalculationInputs> inputs = EmissionInputs(project, 0);
    ASSERT_TRUE(inputs.ok()) << ToUtf8(inputs.error());
    EXPECT_EQ(inputs.value().HeightText, u"0.30000000000000004 m");
    EXPECT_EQ(inputs.value().WidthText, u"12.5 m");
    EXPECT_EQ(inputs.value().LengthText, u"100 m");
    EXPECT_EQ(inputs.value().RateText, u"3e-07");
    EXPECT_EQ(inputs.value().RateUnit, 2);
    EXPECT_TRUE(inputs.value().HourlyChecked);
    EXPECT_EQ(inputs.value().HourlyStandardText, u"0.05");
    EXPECT_TRUE(inputs.value().DailyChecked);
    EXPECT_EQ(inputs.value().DailyStandardText, u"0.02");
}

TEST(EmissionInputs, RowLabelNamesTheSourceAndThePollutant) {
    const Project project = TankFarm();
    EXPECT_EQ(RowLabel(project, 0), u"排放源“S1”（罐区）的污染物“非甲烷总烃”");
    EXPECT_EQ(RowLabel(project, 1), u"排放源“S2”的污染物“颗粒物”");
}

TEST(EmissionInputs, AnEmissionThatNamesNoSource) {
    Project project = TankFarm();
    project.emissions[1].source = "S9";
    EXPECT_EQ(ErrorOf(project, 1), "排放源“S9”的污染物“颗粒物”：项目中没有编号为“S9”的排放源");
    EXPECT_TRUE(EmissionInputs(project, 0).ok());
}

TEST(EmissionInputs, TheSecondAndLaterRowsOfAPollutantOfASource) {
    Project project = TankFarm();
    project.emissions.push_back(project.emissions[0]);
    project.emissions.push_back(project.emissions[0]);
    project.emissions[3].rate = 1.0;
    EXPECT_TRUE(EmissionInputs(project, 0).ok());
    EXPECT_EQ(ErrorOf(project, 2),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：这个排放源在第 1 条排放中已有这种污染物，"
              "同一污染物只能列一次");
    EXPECT_NE(ErrorOf(project, 3).find("第 1 条排放中已有"), std::string::npos);
    // The same pollutant of another source is another row.
    project.emissions[1].pollutant = "非甲烷总烃";
    EXPECT_TRUE(EmissionInputs(project, 1).ok());
}

TEST(EmissionInputs, ABadSourceMakesEachOfItsEmissionsWrong) {
    Project project = TankFarm();
    project.emissions.push_back(
        Emission{"S1", "苯", 0.004, RateUnit::KilogramsPerHour, 0.11, std::nullopt, {}});
    project.sources[0].height = 0;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：排放高度应大于 0 m（现为 0）");
    EXPECT_EQ(ErrorOf(project, 2), "排放源“S1”（罐区）的污染物“苯”：排放高度应大于 0 m（现为 0）");
    EXPECT_TRUE(EmissionInputs(project, 1).ok());

    project.sources[0].height = 5;
    project.sources[0].width = -40;
    EXPECT_NE(ErrorOf(project, 2).find("：面源宽度应大于 0 m（现为 -40）"), std::string::npos);
    project.sources[0].width = 40;
    project.sources[0].length = 0;
    EXPECT_NE(ErrorOf(project, 2).find("：面源长度应大于 0 m（现为 0）"), std::string::npos);
}

TEST(EmissionInputs, ASideRatioOutsideTheWindowsRange) {
    Project project = TankFarm();
    project.sources[0].width = 601;
    project.sources[0].length = 60;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：面源宽度与长度之比为 10.02，应在 0.1 到 10 "
              "之间；超出这个限制的宜分成多个面源");
    project.sources[0].width = 600;  // exactly 10: allowed
    EXPECT_TRUE(EmissionInputs(project, 0).ok());
    project.sources[0].width = 5.9;
    EXPECT_NE(ErrorOf(project, 0).find("之比为 0.09833"), std::string::npos);
    project.sources[0].width = 6;  // exactly 0.1
    EXPECT_TRUE(EmissionInputs(project, 0).ok());
}

TEST(EmissionInputs, ARateOrAGivenStandardOfZeroOrLess) {
    Project project = TankFarm();
    project.emissions[0].rate = 0;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：排放速率应大于 0（现为 0）");
    project.emissions[0].rate = 0.12;
    project.emissions[0].hourly = -2;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：小时评价标准应大于 0 mg/m³（现为 -2）");
    project.emissions[0].hourly = std::nullopt;
    project.emissions[0].daily = 0;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：日均评价标准应大于 0 mg/m³（现为 0）");
}

TEST(EmissionInputs, NoStandardGiven) {
    Project project = TankFarm();
    project.emissions[0].hourly = std::nullopt;
    EXPECT_EQ(ErrorOf(project, 0),
              "排放源“S1”（罐区）的污染物“非甲烷总烃”：未设置评价标准（小时标准 hourly 和日均标准 "
              "daily 都没有给出）");
}

TEST(EmissionInputs, AnUnnamedPollutant) {
    Project project = TankFarm();
    project.emissions[0].pollutant = "";
    EXPECT_EQ(ErrorOf(project, 0), "排放源“S1”（罐区）的污染物（未命名）：污染物没有名称");
}

TEST(EmissionInputs, TheWindowsOwnCheckRefusesWhatItWouldRefuse) {
    Project project = TankFarm();
    project.sources[0].height = 1e39;
    EXPECT_EQ(
        ErrorOf(project, 0),
        "排放源“S1”（罐区）的污染物“非甲烷总烃”：排放高度的数值过大，超出计算范围，请重新输入!");
    project.sources[0].height = 5;
    project.emissions[0].rate = 1e-50;
    EXPECT_NE(ErrorOf(project, 0).find("排放速率的数值过小"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::project
