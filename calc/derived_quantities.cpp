#include "calc/derived_quantities.h"

#include <cmath>
#include <limits>

#include "calc/lenient_number.h"

namespace quorvel {

float ReleaseHeight(const CalculationInputs& inputs) {
    return ToSingle(ReadLenientNumber(inputs.HeightText));
}

float SourceWidth(const CalculationInputs& inputs) {
    return ToSingle(ReadLenientNumber(inputs.WidthText));
}

float SourceLength(const CalculationInputs& inputs) {
    return ToSingle(ReadLenientNumber(inputs.LengthText));
}

float EmissionRate(const CalculationInputs& inputs) {
    return ToSingle(ReadLenientNumber(inputs.RateText));
}

float EmissionRateGramsPerSecond(const CalculationInputs& inputs) {
    const float q = EmissionRate(inputs);
    switch (inputs.RateUnit) {
        case 1:
            return ToSingle(static_cast<double>(q) / 3.6);
        case 2:
            return ToSingle(static_cast<double>(q) * 1000.0 / 24.0 / 365.0 / 3.6);
        default:
            return q;
    }
}

float AreaEmissionRate(const CalculationInputs& inputs) {
    const double g = EmissionRateGramsPerSecond(inputs);
    const double area =
        static_cast<double>(SourceLength(inputs)) * static_cast<double>(SourceWidth(inputs));
    if (area == 0.0) {
        if (g == 0.0 || std::isnan(g)) return std::numeric_limits<float>::quiet_NaN();
        return (g > 0) == !std::signbit(area) ? std::numeric_limits<float>::infinity()
                                              : -std::numeric_limits<float>::infinity();
    }
    return ToSingle(g / area);
}

float ComparisonStandard(const CalculationInputs& inputs) {
    if (inputs.HourlyChecked)
        return ToSingle(ReadLenientNumber(inputs.HourlyStandardText) * 1000.0);
    return ToSingle(ReadLenientNumber(inputs.DailyStandardText) * 1000.0 * 3.0);
}

std::optional<float> SideRatio(const CalculationInputs& inputs) {
    const double width = ReadLenientNumber(inputs.WidthText);
    const double length = ReadLenientNumber(inputs.LengthText);
    if (length == 0.0) return std::nullopt;
    const double ratio = width / length;
    if (std::isnan(ratio)) return std::nullopt;
    return ToSingle(ratio);
}

}  // namespace quorvel
