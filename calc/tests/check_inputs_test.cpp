#include "calc/check_inputs.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

const std::u16string kRatioMessage =
    u"要求面源的两条边长度比值不能超过10，超出这个限制的宜分成多个面源!";

CalculationInputs Sides(std::u16string width, std::u16string length) {
    CalculationInputs inputs;
    inputs.WidthText = std::move(width);
    inputs.LengthText = std::move(length);
    return inputs;
}

void ExpectRefused(const CheckDecision& decision, CheckFocus focus) {
    EXPECT_FALSE(decision.pass);
    EXPECT_EQ(decision.focus, focus);
    EXPECT_FALSE(decision.message.empty());
}

TEST(DecideCheckInputs, DefaultsPass) {
    const CheckDecision decision = DecideCheckInputs(CalculationInputs{});
    EXPECT_TRUE(decision.pass);
    EXPECT_EQ(decision.focus, CheckFocus::None);
    EXPECT_TRUE(decision.message.empty());
}

TEST(DecideCheckInputs, NoStandardIsRefusedBeforeTheRatioIsLookedAt) {
    CalculationInputs inputs = Sides(u"500 m", u"10 m");
    inputs.HourlyChecked = false;
    const CheckDecision decision = DecideCheckInputs(inputs);
    ExpectRefused(decision, CheckFocus::Check1_0);
    EXPECT_EQ(decision.message, u"未设置评价标准!");

    inputs.DailyChecked = true;
    EXPECT_EQ(DecideCheckInputs(inputs).message, kRatioMessage);
}

TEST(DecideCheckInputs, RatioBoundsBelongToTheAllowedRange) {
    EXPECT_TRUE(DecideCheckInputs(Sides(u"10 m", u"100 m")).pass);
    EXPECT_TRUE(DecideCheckInputs(Sides(u"100 m", u"10 m")).pass);
    EXPECT_TRUE(DecideCheckInputs(Sides(u"1 000 m", u"100 m")).pass);

    for (const auto& [width, length] : {std::pair{u"9.99 m", u"100 m"},
                                        {u"100.01", u"10"},
                                        {u"1,000 m", u"100 m"},
                                        {u"0 m", u"100 m"},
                                        {u"100 m", u"0 m"},
                                        {u"0", u"0"}}) {
        const CheckDecision decision = DecideCheckInputs(Sides(width, length));
        ExpectRefused(decision, CheckFocus::Text1_1);
        EXPECT_EQ(decision.message, kRatioMessage);
    }
}

TEST(DecideCheckInputs, ValuesBeyondSinglePrecisionAreRefusedAtTheirBox) {
    CalculationInputs inputs;
    inputs.HeightText = u"1e39 m";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_0);

    ExpectRefused(DecideCheckInputs(Sides(u"1e39 m", u"1e39 m")), CheckFocus::Text1_1);
    ExpectRefused(DecideCheckInputs(Sides(u"1e-46 m", u"1e-46 m")), CheckFocus::Text1_1);

    inputs = CalculationInputs{};
    inputs.RateText = u"1e39";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_3);
    inputs.RateText = u"1e-50";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_3);

    inputs = CalculationInputs{};
    inputs.HourlyStandardText = u"1e36";  // x 1000 overflows
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_4);
    inputs.HourlyStandardText = u"1e-50";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_4);
}

TEST(DecideCheckInputs, AnAreaRateThatIsInfiniteOrRoundsToZeroIsRefused) {
    CalculationInputs inputs = Sides(u"1e20 m", u"1e20 m");  // 1e40 m^2
    inputs.RateText = u"1e-10";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_3);

    inputs = Sides(u"1e-20 m", u"1e-20 m");
    inputs.RateText = u"1e5";
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_3);
}

// Values the window's boxes refuse can still reach the check (a box that
// loses the focus without being validated); the model would refuse them with
// a text that names no box.
TEST(DecideCheckInputs, ValuesNotAboveZeroAreRefusedAtTheirBox) {
    const auto refusedAt = [](auto change, CheckFocus focus) {
        CalculationInputs inputs;
        change(inputs);
        const CheckDecision decision = DecideCheckInputs(inputs);
        ExpectRefused(decision, focus);
        EXPECT_EQ(decision.message, u"无效数据!");
    };
    refusedAt([](CalculationInputs& in) { in.HeightText = u"0"; }, CheckFocus::Text1_0);
    refusedAt([](CalculationInputs& in) { in.HeightText = u"-15 m"; }, CheckFocus::Text1_0);
    refusedAt([](CalculationInputs& in) { in.WidthText = in.LengthText = u"-100"; },
              CheckFocus::Text1_1);
    refusedAt([](CalculationInputs& in) { in.RateText = u"十"; }, CheckFocus::Text1_3);
    refusedAt([](CalculationInputs& in) { in.RateText = u"-1"; }, CheckFocus::Text1_3);
    refusedAt([](CalculationInputs& in) { in.HourlyStandardText = u"0"; }, CheckFocus::Text1_4);
    refusedAt(
        [](CalculationInputs& in) {
            in.HourlyChecked = false;
            in.DailyChecked = true;
            in.DailyStandardText = u"-0.15";
        },
        CheckFocus::Text1_5);
}

TEST(DecideCheckInputs, DailyStandardIsCheckedOnlyWhenItIsUsed) {
    CalculationInputs inputs;
    inputs.DailyStandardText = u"1e38";
    inputs.DailyChecked = true;
    EXPECT_TRUE(DecideCheckInputs(inputs).pass);
    inputs.HourlyChecked = false;
    ExpectRefused(DecideCheckInputs(inputs), CheckFocus::Text1_5);
}

}  // namespace
}  // namespace quorvel
