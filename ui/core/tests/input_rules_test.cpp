// The input boxes' rules: selection on focus, the above-0 validation and the
// text a box shows once the focus has left it.

#include <gtest/gtest.h>

#include "calc/unicode_text.h"
#include "ui/core/input_rules.h"

namespace quorvel {
namespace {

TEST(InputRules, FocusSelectsTheNumberOfALengthBoxAndAllOfAValueBox) {
    EXPECT_EQ(SelectionOnFocusGain(1, 5).length, 3);  // "100 m"
    EXPECT_EQ(SelectionOnFocusGain(4, 3).length, 3);  // "0.5"
    EXPECT_EQ(SelectionOnFocusGain(0, 1).length, 0);  // too short for its unit
    EXPECT_EQ(SelectionOnFocusGain(0, 0).length, 0);
    EXPECT_EQ(SelectionOnFocusGain(2, 5).start, 0);
}

TEST(InputRules, OnlyNumbersAboveZeroInSinglePrecisionLeaveTheBox) {
    for (const char16_t* refused : {u"0", u"0.0", u"-2", u"abc", u"", u"1e-50", u"  "}) {
        EXPECT_TRUE(ValidationCancels(refused)) << ToUtf8(refused);
    }
    for (const char16_t* accepted : {u"12abc", u" 2.50 ", u"1,5", u"15 m", u"1e30"}) {
        EXPECT_FALSE(ValidationCancels(accepted));
    }
}

TEST(InputRules, TheTextIsRewrittenAsItsNumberWithTheUnitOfALengthBox) {
    EXPECT_EQ(TextOnFocusLoss(3, u"12abc"), u"12");
    EXPECT_EQ(TextOnFocusLoss(4, u"5 m"), u"5");
    EXPECT_EQ(TextOnFocusLoss(1, u"1,5"), u"1 m");
    EXPECT_EQ(TextOnFocusLoss(0, u" 2.50 "), u"2.5 m");
    EXPECT_EQ(TextOnFocusLoss(0, u"015"), u"15 m");
    EXPECT_EQ(TextOnFocusLoss(5, u"1e3"), u"1000");
    EXPECT_EQ(TextOnFocusLoss(2, u"1e999"), std::nullopt);
}

TEST(InputRules, EachStandardCheckBoxGovernsItsBoxAndOnlyCheckedEnablesIt) {
    EXPECT_EQ(StandardBoxOf(0), 4);
    EXPECT_EQ(StandardBoxOf(1), 5);
    EXPECT_TRUE(StandardBoxEnabled(1));
    EXPECT_FALSE(StandardBoxEnabled(0));
    EXPECT_FALSE(StandardBoxEnabled(2));
}

}  // namespace
}  // namespace quorvel
