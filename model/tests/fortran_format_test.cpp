#include "model/fortran_format.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FortranFormat, G11_4FixedAndExponentForms) {
    EXPECT_EQ(FormatG11_4(2901.0), "  2901.    ");
    EXPECT_EQ(FormatG11_4(125.94), "  125.9    ");
    EXPECT_EQ(FormatG11_4(1.23456), "  1.235    ");
    EXPECT_EQ(FormatG11_4(0.1259), " 0.1259    ");
    EXPECT_EQ(FormatG11_4(113000.0), " 0.1130E+06");
    EXPECT_EQ(FormatG11_4(0.012345), " 0.1235E-01");
    EXPECT_EQ(FormatG11_4(-42.0), " -42.00    ");
    EXPECT_EQ(FormatG11_4(0.0), "  0.000    ");
    EXPECT_EQ(FormatG11_4(1e-300), " 0.1000-299");
}

TEST(FortranFormat, G11_4RoundingDecidesTheForm) {
    EXPECT_EQ(FormatG11_4(9999.4), "  9999.    ");
    EXPECT_EQ(FormatG11_4(9999.6), " 0.1000E+05");
    EXPECT_EQ(FormatG11_4(0.0999996), " 0.1000    ");
    EXPECT_EQ(FormatG11_4(0.09999), " 0.9999E-01");
    EXPECT_EQ(FormatG11_4(99.996), "  100.0    ");
    for (double v : {1e-30, 3.3, 77777.0, 1e30, -1e-7}) EXPECT_EQ(FormatG11_4(v).size(), 11u) << v;
}

TEST(FortranFormat, FixedFields) {
    EXPECT_EQ(FormatFixed(100.0, 7, 0), "   100.");
    EXPECT_EQ(FormatFixed(4999.6, 7, 0), "  5000.");
    EXPECT_EQ(FormatFixed(-0.2, 7, 0), "     0.");
    EXPECT_EQ(FormatFixed(-0.0, 8, 2), "    0.00");
    EXPECT_EQ(FormatFixed(-1.5, 8, 1), "    -1.5");
    EXPECT_EQ(FormatFixed(320.0, 8, 1), "   320.0");
    EXPECT_EQ(FormatInteger(5, 5), "    5");
}

}  // namespace
}  // namespace quorvel
