#pragma once

#include <string>

#include "calc/calculation_inputs.h"

namespace quorvel {

// The control that gets the input focus after a refused check.
enum class CheckFocus { None, Check1_0, Text1_0, Text1_1, Text1_2, Text1_3, Text1_4, Text1_5 };

struct CheckDecision {
    bool pass = true;
    std::u16string message;  // shown when the check does not pass
    CheckFocus focus = CheckFocus::None;
};

// Decides whether a calculation may start: a standard must be chosen, the
// sides may be at most 10 times apart, and every derived quantity must be a
// usable single-precision value (no overflow to infinity, no underflow of a
// non-zero input to 0, height, sides, rate and the standard in use above 0,
// an area emission rate that is finite and not 0).
CheckDecision DecideCheckInputs(const CalculationInputs& inputs);

}  // namespace quorvel
