#pragma once
// What the six input boxes Text1(0..5) do as the focus moves, toolkit-free.
// Boxes 0 to 2 hold lengths in metres and end in " m"; boxes 3 to 5 hold bare
// numbers.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr int kInputBoxCount = 6;

// index: 0 to 5.
bool IsLengthBox(int index);

// A selection in characters from 0.
struct TextSelection {
    int start = 0;
    int length = 0;
};

// The selection set when box `index` gains the focus: the number of a length
// box without its " m" (never a negative length), the whole text of a value
// box. textLength: the text's length in UTF-16 code units.
TextSelection SelectionOnFocusGain(int index, int textLength);

// Whether the focus may not leave a box holding `text`: its number, read
// after trimming blanks and rounded to single precision, is not above 0.
// The front end then shows kInvalidDataText and keeps the focus.
bool ValidationCancels(std::u16string_view text);

// The text box `index` shows once the focus has left it: its number in plain
// decimal form (at most 15 significant digits), with " m" for a length box.
// nullopt: leave the text as typed (a number beyond every decimal form, which
// the check at Run refuses with its own message).
std::optional<std::u16string> TextOnFocusLoss(int index, std::u16string_view text);

// Standard check boxes Check1(0..1): the box they govern and whether a state
// (0 unchecked, 1 checked, 2 grayed) makes it usable.
int StandardBoxOf(int checkIndex);
bool StandardBoxEnabled(int checkState);

}  // namespace quorvel
