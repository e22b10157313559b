#include "calc/project/files/emission_inputs.h"

#include <cstdint>
#include <optional>
#include <string>

#include "calc/check_inputs.h"
#include "calc/derived_quantities.h"
#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::u16string Quoted(const std::string& utf8) { return u"“" + FromUtf8(utf8) + u"”"; }

std::u16string Shortest(double value) { return FromUtf8(ShortestNumber(value)); }

// "应大于 0（现为 -5）"
std::u16string NotPositive(const char16_t* what, double value, const char16_t* unit = u"") {
    return std::u16string(what) + u"应大于 0" + unit + u"（现为 " + Shortest(value) + u"）";
}

// Why the source cannot be computed, or nothing.
std::optional<std::u16string> SourceFault(const Source& source) {
    if (!(source.height > 0.0)) return NotPositive(u"排放高度", source.height, u" m");
    if (!(source.width > 0.0)) return NotPositive(u"面源宽度", source.width, u" m");
    if (!(source.length > 0.0)) return NotPositive(u"面源长度", source.length, u" m");
    return std::nullopt;
}

CalculationInputs InputsOf(const Project& project, const Source& source, const Emission& emission) {
    CalculationInputs inputs;
    inputs.HeightText = Shortest(source.height) + u" m";
    inputs.WidthText = Shortest(source.width) + u" m";
    inputs.LengthText = Shortest(source.length) + u" m";
    inputs.RateText = Shortest(emission.rate);
    inputs.RateUnit = static_cast<std::int16_t>(emission.unit);
    inputs.HourlyChecked = emission.hourly.has_value();
    inputs.HourlyStandardText = emission.hourly ? Shortest(*emission.hourly) : std::u16string();
    inputs.DailyChecked = emission.daily.has_value();
    inputs.DailyStandardText = emission.daily ? Shortest(*emission.daily) : std::u16string();
    inputs.LocationIndex = project.location == Location::Rural ? 0 : 1;
    return inputs;
}

}  // namespace

const Source* EmissionSource(const Project& project, std::size_t emissionIndex) {
    const std::string& id = project.emissions.at(emissionIndex).source;
    for (const Source& source : project.sources) {
        if (source.id == id) return &source;
    }
    return nullptr;
}

std::u16string RowLabel(const Project& project, std::size_t emissionIndex) {
    const Emission& emission = project.emissions.at(emissionIndex);
    const Source* source = EmissionSource(project, emissionIndex);
    std::u16string label = u"排放源" + Quoted(emission.source);
    if (source != nullptr && !source->name.empty()) label += u"（" + FromUtf8(source->name) + u"）";
    label += u"的污染物";
    label +=
        emission.pollutant.empty() ? std::u16string(u"（未命名）") : Quoted(emission.pollutant);
    return label;
}

Result<CalculationInputs> EmissionInputs(const Project& project, std::size_t emissionIndex) {
    const Emission& emission = project.emissions.at(emissionIndex);
    const std::u16string label = RowLabel(project, emissionIndex) + u"：";
    const Source* source = EmissionSource(project, emissionIndex);
    if (source == nullptr) {
        return Fail(label + u"项目中没有编号为" + Quoted(emission.source) + u"的排放源");
    }
    for (std::size_t earlier = 0; earlier < emissionIndex; ++earlier) {
        const Emission& other = project.emissions[earlier];
        if (other.source == emission.source && other.pollutant == emission.pollutant) {
            return Fail(label + u"这个排放源在第 " + FromUtf8(std::to_string(earlier + 1)) +
                        u" 条排放中已有这种污染物，同一污染物只能列一次");
        }
    }
    if (const std::optional<std::u16string> fault = SourceFault(*source)) {
        return Fail(label + *fault);
    }
    const CalculationInputs inputs = InputsOf(project, *source, emission);
    const std::optional<float> ratio = SideRatio(inputs);
    if (!ratio || *ratio < 0.1f || *ratio > 10.0f) {
        return Fail(label + u"面源宽度与长度之比为 " +
                    FromUtf8(RoundedNumber(source->width / source->length, 4)) +
                    u"，应在 0.1 到 10 之间；超出这个限制的宜分成多个面源");
    }
    if (emission.pollutant.empty()) return Fail(label + u"污染物没有名称");
    if (!(emission.rate > 0.0)) return Fail(label + NotPositive(u"排放速率", emission.rate));
    if (emission.hourly && !(*emission.hourly > 0.0)) {
        return Fail(label + NotPositive(u"小时评价标准", *emission.hourly, u" mg/m³"));
    }
    if (emission.daily && !(*emission.daily > 0.0)) {
        return Fail(label + NotPositive(u"日均评价标准", *emission.daily, u" mg/m³"));
    }
    if (!emission.hourly && !emission.daily) {
        return Fail(label + u"未设置评价标准（小时标准 hourly 和日均标准 daily 都没有给出）");
    }
    const CheckDecision decision = DecideCheckInputs(inputs);
    if (!decision.pass) return Fail(label + decision.message);
    return inputs;
}

}  // namespace quorvel::project
