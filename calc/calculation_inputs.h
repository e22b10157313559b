#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The ten values of one calculation as the window holds them; the defaults are
// the window's start values.
struct CalculationInputs {
    std::u16string HeightText = u"15 m";  // release height, m
    std::u16string WidthText = u"100 m";  // width of the area source, m
    std::u16string LengthText = u"100 m";
    std::u16string RateText = u"10";  // emission rate in the unit RateUnit
    std::int16_t RateUnit = 0;        // 0 g/s, 1 kg/hr, 2 t/a
    bool HourlyChecked = true;
    std::u16string HourlyStandardText = u"0.5";  // mg/m^3
    bool DailyChecked = false;
    std::u16string DailyStandardText = u"0.15";  // mg/m^3
    std::int16_t LocationIndex = 1;              // 0 rural, otherwise urban
};

}  // namespace quorvel
