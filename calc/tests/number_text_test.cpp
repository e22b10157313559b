#include "calc/number_text.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FormatNumber, WholeValuesArePlainDigits) {
    EXPECT_EQ(FormatNumber(0.0, 7), u"0");
    EXPECT_EQ(FormatNumber(-0.0, 7), u"0");
    EXPECT_EQ(FormatNumber(15.0, 7), u"15");
    EXPECT_EQ(FormatNumber(5000.0, 15), u"5000");
    EXPECT_EQ(FormatNumber(-70.0, 7), u"-70");
    EXPECT_EQ(FormatNumber(1234567.0, 7), u"1234567");
    EXPECT_EQ(FormatNumber(123456789012345.0, 15), u"123456789012345");
}

TEST(FormatNumber, FractionsUseAPointAndNoSuperfluousZeros) {
    EXPECT_EQ(FormatNumber(0.5, 15), u"0.5");
    EXPECT_EQ(FormatNumber(12.5, 7), u"12.5");
    EXPECT_EQ(FormatNumber(static_cast<double>(0.001f), 7), u"0.001");
    EXPECT_EQ(FormatNumber(static_cast<double>(0.0001f), 7), u"0.0001");
    EXPECT_EQ(FormatNumber(static_cast<double>(123.4567f), 7), u"123.4567");
    EXPECT_EQ(FormatNumber(static_cast<double>(0.1f), 15), u"0.100000001490116");
    EXPECT_EQ(FormatNumber(2.0 / 3.0, 7), u"0.6666667");
    EXPECT_EQ(FormatNumber(-0.25, 7), u"-0.25");
}

TEST(FormatNumber, ExponentFormOnlyWhereThePlainFormNeedsTooManyDigits) {
    EXPECT_EQ(FormatNumber(static_cast<double>(2.777778e-4f), 7), u"2.777778E-04");
    EXPECT_EQ(FormatNumber(static_cast<double>(3.170979e-5f), 7), u"3.170979E-05");
    EXPECT_EQ(FormatNumber(1e20, 7), u"1E+20");
    EXPECT_EQ(FormatNumber(12345678.0, 7), u"1.234568E+07");
    EXPECT_EQ(FormatNumber(9999999.6, 7), u"1E+07");
    EXPECT_EQ(FormatNumber(1e-100, 15), u"1E-100");
    EXPECT_EQ(FormatNumber(0.0000001, 7), u"0.0000001");
    EXPECT_EQ(FormatNumber(0.00000012, 7), u"1.2E-07");
}

}  // namespace
}  // namespace quorvel
