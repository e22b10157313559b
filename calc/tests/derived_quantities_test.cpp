#include "calc/derived_quantities.h"

#include <cmath>

#include <gtest/gtest.h>

#include "calc/number_text.h"

namespace quorvel {
namespace {

CalculationInputs WithRate(std::u16string rate, std::int16_t unit) {
    CalculationInputs inputs;
    inputs.RateText = std::move(rate);
    inputs.RateUnit = unit;
    return inputs;
}

TEST(DerivedQuantities, DefaultsGiveTheWindowsValues) {
    const CalculationInputs inputs;
    EXPECT_EQ(ReleaseHeight(inputs), 15.0f);
    EXPECT_EQ(SourceWidth(inputs), 100.0f);
    EXPECT_EQ(SourceLength(inputs), 100.0f);
    EXPECT_EQ(EmissionRateGramsPerSecond(inputs), 10.0f);
    EXPECT_EQ(AreaEmissionRate(inputs), 0.001f);
    EXPECT_EQ(ComparisonStandard(inputs), 500.0f);
}

TEST(DerivedQuantities, UnitConversionsToGramsPerSecond) {
    EXPECT_EQ(EmissionRateGramsPerSecond(WithRate(u"3.6", 1)), 1.0f);
    EXPECT_EQ(EmissionRateGramsPerSecond(WithRate(u"31.536", 2)), 1.0f);
    EXPECT_EQ(EmissionRateGramsPerSecond(WithRate(u"7", -1)), 7.0f);  // no selection
    EXPECT_EQ(EmissionRateGramsPerSecond(WithRate(u"7", 5)), 7.0f);
    EXPECT_EQ(AreaEmissionRate(WithRate(u"31.536", 2)), 0.0001f);
}

TEST(DerivedQuantities, AreaRatesToSevenDigits) {
    EXPECT_EQ(FormatNumber(AreaEmissionRate(WithRate(u"10", 0)), 7), u"0.001");
    EXPECT_EQ(FormatNumber(AreaEmissionRate(WithRate(u"10", 1)), 7), u"2.777778E-04");
    EXPECT_EQ(FormatNumber(AreaEmissionRate(WithRate(u"10", 2)), 7), u"3.170979E-05");
}

TEST(DerivedQuantities, AreaIsTheProductOfTheSingleSides) {
    CalculationInputs inputs;
    inputs.WidthText = u"0.1";
    inputs.LengthText = u"0.3";
    inputs.RateText = u"1";
    const double area = static_cast<double>(0.1f) * static_cast<double>(0.3f);
    EXPECT_EQ(AreaEmissionRate(inputs), static_cast<float>(1.0 / area));
}

TEST(DerivedQuantities, ZeroAreaGivesInfinityWithoutDividing) {
    CalculationInputs inputs;
    inputs.LengthText = u"0";
    EXPECT_TRUE(std::isinf(AreaEmissionRate(inputs)));
    inputs.RateText = u"0";
    EXPECT_TRUE(std::isnan(AreaEmissionRate(inputs)));
}

TEST(DerivedQuantities, StandardHourlyWinsDailyTimesThree) {
    CalculationInputs inputs;
    inputs.DailyChecked = true;
    EXPECT_EQ(ComparisonStandard(inputs), 500.0f);
    inputs.HourlyChecked = false;
    EXPECT_EQ(ComparisonStandard(inputs), 450.0f);
    inputs.DailyChecked = false;  // neither: the daily value is still what is formed
    EXPECT_EQ(ComparisonStandard(inputs), 450.0f);
}

TEST(DerivedQuantities, SideRatioFromTheDoubleNumbers) {
    CalculationInputs inputs;
    inputs.WidthText = u"10 m";
    EXPECT_EQ(SideRatio(inputs), 0.1f);
    inputs.WidthText = u"1 000 m";
    EXPECT_EQ(SideRatio(inputs), 10.0f);
    inputs.LengthText = u"0 m";
    EXPECT_EQ(SideRatio(inputs), std::nullopt);
    inputs.WidthText = u"1e400";
    inputs.LengthText = u"1e400";
    EXPECT_EQ(SideRatio(inputs), std::nullopt);
}

}  // namespace
}  // namespace quorvel
