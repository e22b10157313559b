#pragma once
// Small pieces of the sheet's markup: escaped text and numbers as text.

#include <string>
#include <string_view>

namespace quorvel {

// UTF-8 text with &, <, >, " and ' written as character references, so that
// it stands for itself in an element or an attribute value; control
// characters other than tab, CR and LF become U+FFFD.
std::string Escaped(std::string_view utf8);
std::string Escaped(std::u16string_view text);

// A number with at most 7 significant digits, in the form the verdict writes
// ("2983", "0.001", "1.5E-08").
std::string NumberText(double value);

// A number with exactly `decimals` digits after "." (0 to 6), whatever the
// locale: "12.50".
std::string FixedText(double value, int decimals);

}  // namespace quorvel
