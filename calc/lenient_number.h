#pragma once

#include <string_view>

namespace quorvel {

// Reads the leading number of a text: blanks, tabs and line feeds anywhere are
// skipped; then an optional sign, digits with at most one ".", and an optional
// exponent (E, e, D or d, optional sign, digits). Reading stops at the first
// character that cannot continue the number; a text without one reads 0.
// "." is the decimal point whatever the locale. Magnitudes beyond the double
// range give an infinity, those below it a zero.
double ReadLenientNumber(std::u16string_view text);

// Rounds to the nearest single-precision value (ties to even); values beyond
// the single range become infinities instead of undefined conversions.
float ToSingle(double x);

}  // namespace quorvel
