#pragma once

#include <optional>

#include "calc/calculation_inputs.h"

namespace quorvel {

// The quantities that one calculation derives from its inputs, each rounded to
// single precision once, after the arithmetic of its formula in double.

float ReleaseHeight(const CalculationInputs& inputs);  // H, m
float SourceWidth(const CalculationInputs& inputs);    // W, m
float SourceLength(const CalculationInputs& inputs);   // L, m
float EmissionRate(const CalculationInputs& inputs);   // Q, in the unit RateUnit

// G: Q converted to g/s (kg/hr divided by 3.6; t/a times 1000 / 24 / 365 / 3.6).
float EmissionRateGramsPerSecond(const CalculationInputs& inputs);

// G / (L x W), g/(s m^2), with the product of the single-precision sides formed
// first. A zero area gives an infinity (or NaN for a zero rate), without
// dividing by zero.
float AreaEmissionRate(const CalculationInputs& inputs);

// S, ug/m^3: the hourly standard x 1000 when it is chosen, otherwise the daily
// standard x 1000 x 3.
float ComparisonStandard(const CalculationInputs& inputs);

// Width / length from the double-precision numbers of the two texts; nullopt
// when the length is 0 or the quotient is not a number.
std::optional<float> SideRatio(const CalculationInputs& inputs);

}  // namespace quorvel
