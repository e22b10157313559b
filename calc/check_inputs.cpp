#include "calc/check_inputs.h"

#include <cmath>
#include <optional>
#include <utility>

#include "calc/derived_quantities.h"
#include "calc/lenient_number.h"

namespace quorvel {
namespace {

const std::u16string kNoStandard = u"未设置评价标准!";
const std::u16string kRatio = u"要求面源的两条边长度比值不能超过10，超出这个限制的宜分成多个面源!";
const std::u16string kAreaRate = u"单位面积排放速率超出计算范围，请调整排放速率或面源尺寸!";
const std::u16string kInvalidData = u"无效数据!";

CheckDecision Refuse(std::u16string message, CheckFocus focus) {
    return CheckDecision{false, std::move(message), focus};
}

// A refusal when the single-precision value lost the number it was made from:
// overflow to infinity, or a non-zero number rounded to 0.
std::optional<CheckDecision> RefuseUnusable(double number, float single, const char16_t* name,
                                            CheckFocus focus) {
    if (std::isinf(single) || std::isnan(single)) {
        return Refuse(std::u16string(name) + u"的数值过大，超出计算范围，请重新输入!", focus);
    }
    if (single == 0.0f && number != 0.0) {
        return Refuse(std::u16string(name) + u"的数值过小，超出计算范围，请重新输入!", focus);
    }
    return std::nullopt;
}

}  // namespace

CheckDecision DecideCheckInputs(const CalculationInputs& inputs) {
    if (!inputs.HourlyChecked && !inputs.DailyChecked) {
        return Refuse(kNoStandard, CheckFocus::Check1_0);
    }

    const float lowerBound = 0.1f;
    const std::optional<float> ratio = SideRatio(inputs);
    if (!ratio || *ratio < lowerBound || *ratio > 10.0f) return Refuse(kRatio, CheckFocus::Text1_1);

    const double rate = ReadLenientNumber(inputs.RateText);
    const double hourly = ReadLenientNumber(inputs.HourlyStandardText);
    const double daily = ReadLenientNumber(inputs.DailyStandardText);
    const float gramsPerSecond = EmissionRateGramsPerSecond(inputs);
    const bool hourlyUsed = inputs.HourlyChecked;
    const std::optional<CheckDecision> refusals[] = {
        RefuseUnusable(ReadLenientNumber(inputs.HeightText), ReleaseHeight(inputs), u"排放高度",
                       CheckFocus::Text1_0),
        RefuseUnusable(ReadLenientNumber(inputs.WidthText), SourceWidth(inputs), u"面源宽度",
                       CheckFocus::Text1_1),
        RefuseUnusable(ReadLenientNumber(inputs.LengthText), SourceLength(inputs), u"面源长度",
                       CheckFocus::Text1_2),
        RefuseUnusable(rate, EmissionRate(inputs), u"排放速率", CheckFocus::Text1_3),
        RefuseUnusable(rate, gramsPerSecond, u"排放速率", CheckFocus::Text1_3),
        hourlyUsed ? RefuseUnusable(hourly, ComparisonStandard(inputs), u"小时评价标准",
                                    CheckFocus::Text1_4)
                   : RefuseUnusable(daily, ComparisonStandard(inputs), u"日均评价标准",
                                    CheckFocus::Text1_5),
    };
    for (const auto& refusal : refusals) {
        if (refusal) return *refusal;
    }
    // The window holds every box above 0; a value that reached the check
    // another way is refused as the box would refuse it, before the model
    // refuses it with a text that does not say which value is wrong.
    const std::pair<double, CheckFocus> mustBePositive[] = {
        {ReleaseHeight(inputs), CheckFocus::Text1_0},
        {SourceWidth(inputs), CheckFocus::Text1_1},
        {SourceLength(inputs), CheckFocus::Text1_2},
        {gramsPerSecond, CheckFocus::Text1_3},
        {ComparisonStandard(inputs), hourlyUsed ? CheckFocus::Text1_4 : CheckFocus::Text1_5},
    };
    for (const auto& [value, focus] : mustBePositive) {
        if (!(value > 0.0)) return Refuse(kInvalidData, focus);
    }

    const float areaRate = AreaEmissionRate(inputs);
    if (!std::isfinite(areaRate) || (areaRate == 0.0f && gramsPerSecond != 0.0f)) {
        return Refuse(kAreaRate, CheckFocus::Text1_3);
    }
    return CheckDecision{};
}

}  // namespace quorvel
