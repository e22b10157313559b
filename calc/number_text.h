#pragma once

#include <string>

namespace quorvel {

// Decimal text of a number with at most maxSignificantDigits significant
// digits (1 to 17): whole values as plain digits ("5000"), other values with
// "." and without superfluous zeros ("0.001", "12.5"). Where the plain form
// would need more digits than allowed, the exponent form is used
// ("3.170979E-05", "1E+20"). Negative values start with "-"; a zero of either
// sign is "0".
std::u16string FormatNumber(double value, int maxSignificantDigits);

}  // namespace quorvel
