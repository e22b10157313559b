#pragma once

#include <string>

namespace quorvel {

// Fixed-point field of `width` characters with `decimals` digits after the
// point, right-aligned; 0 decimals still ends with the point ("  100.").
std::string FormatFixed(double value, int width, int decimals);

// Whole number right-aligned in `width` characters.
std::string FormatInteger(long value, int width);

// Fortran's G edit with 4 significant digits in 11 characters: the fixed form
// followed by four blanks for 0.1 <= |value| < 10000, else 0.ddddE+ee.
std::string FormatG11_4(double value);

// Text left- or right-aligned in `width` characters.
std::string PadLeft(const std::string& text, int width);

}  // namespace quorvel
