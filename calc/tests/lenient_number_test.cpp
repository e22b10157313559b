#include "calc/lenient_number.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ReadLenientNumber, TakesTheLeadingNumberAndIgnoresBlanksTabsAndLineFeeds) {
    EXPECT_EQ(ReadLenientNumber(u"15 m"), 15.0);
    EXPECT_EQ(ReadLenientNumber(u"1 000 m"), 1000.0);
    EXPECT_EQ(ReadLenientNumber(u"\t1\n2 .\t5"), 12.5);
    EXPECT_EQ(ReadLenientNumber(u"1,5"), 1.0);
    EXPECT_EQ(ReadLenientNumber(u"100.5.3"), 100.5);
    EXPECT_EQ(ReadLenientNumber(u" - 3"), -3.0);
    EXPECT_EQ(ReadLenientNumber(u"+7x"), 7.0);
}

TEST(ReadLenientNumber, ReadsFractionsAndBothExponentLetters) {
    EXPECT_EQ(ReadLenientNumber(u"2.5E-3"), 0.0025);
    EXPECT_EQ(ReadLenientNumber(u".5"), 0.5);
    EXPECT_EQ(ReadLenientNumber(u"5."), 5.0);
    EXPECT_EQ(ReadLenientNumber(u"1D2"), 100.0);
    EXPECT_EQ(ReadLenientNumber(u"1d+2"), 100.0);
    EXPECT_EQ(ReadLenientNumber(u"25e-1"), 2.5);
    EXPECT_EQ(ReadLenientNumber(u"0.0012E 3"), 1.2);
    EXPECT_EQ(ReadLenientNumber(u"0.1"), 0.1);
    EXPECT_EQ(ReadLenientNumber(u"31.536"), 31.536);
}

TEST(ReadLenientNumber, AnIncompleteExponentEndsTheNumber) {
    EXPECT_EQ(ReadLenientNumber(u"1e"), 1.0);
    EXPECT_EQ(ReadLenientNumber(u"1e+"), 1.0);
    EXPECT_EQ(ReadLenientNumber(u"3Ex5"), 3.0);
}

TEST(ReadLenientNumber, TextsWithoutALeadingNumberReadZero) {
    EXPECT_EQ(ReadLenientNumber(u""), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"-"), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"."), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"m15"), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"e5"), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"\x0661"), 0.0);  // not an ASCII digit
}

TEST(ReadLenientNumber, MagnitudesBeyondDoubleRangeGiveInfinityOrZero) {
    EXPECT_EQ(ReadLenientNumber(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLenientNumber(u"-2e309"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLenientNumber(u"1e99999999999999999999"),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLenientNumber(u"1e-400"), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"0.000e999999"), 0.0);
    EXPECT_EQ(ReadLenientNumber(u"1e308"), 1e308);
    EXPECT_EQ(ReadLenientNumber(u"4.9e-324"), 4.9e-324);
}

TEST(ToSingle, RoundsToNearestAndOverflowsToInfinity) {
    EXPECT_EQ(ToSingle(0.1), 0.1f);
    EXPECT_EQ(ToSingle(1.0 + std::ldexp(1.0, -24)), 1.0f);  // tie goes to even
    EXPECT_EQ(ToSingle(1e39), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToSingle(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
    EXPECT_EQ(ToSingle(std::ldexp(1.0, 128) - std::ldexp(1.0, 103)),
              std::numeric_limits<float>::infinity());
    EXPECT_EQ(
        ToSingle(static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 102)),
        std::numeric_limits<float>::max());
    EXPECT_EQ(ToSingle(1e-50), 0.0f);
    EXPECT_TRUE(std::isnan(ToSingle(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
}  // namespace quorvel
