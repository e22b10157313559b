#pragma once

#include <string>

namespace quorvel::project {

// The shortest decimal text that reads back as exactly `value` (std::to_chars
// without a format): 5 -> "5", 0.12 -> "0.12", 1e21 -> "1e+21".
std::string ShortestNumber(double value);

// `value` to `digits` significant digits for a message ("10.02", "0.09833"),
// in the exponent form only for very large or small values.
std::string RoundedNumber(double value, int digits);

}  // namespace quorvel::project
