#include "calc/project/dxf/dxf_text.h"

#include <gtest/gtest.h>

namespace quorvel::project::dxf {
namespace {

TEST(DxfText, TheVersionDecidesUtf8AndTheCodePageTheRest) {
    EXPECT_EQ(EncodingOf("AC1032", "ANSI_1252"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("AC1021", ""), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("AC1018", "ANSI_936"), TextEncoding::CodePage936);
    EXPECT_EQ(EncodingOf("AC1009", ""), TextEncoding::CodePage936);
    EXPECT_EQ(EncodingOf("AC1015", "ansi_1252"), TextEncoding::Latin1);
}

TEST(DxfText, EscapesAndCodePageBytesBecomeUtf8) {
    // "厂界" in GBK, and a GBK character whose second byte is a backslash.
    EXPECT_EQ(DecodeValue("\xB3\xA7\xBD\xE7", TextEncoding::CodePage936), "厂界");
    EXPECT_EQ(DecodeValue("\xD5\x5CU+5382", TextEncoding::CodePage936), "誠U+5382");
    EXPECT_EQ(DecodeValue("\\U+5382\\u+754c", TextEncoding::Latin1), "厂界");
    EXPECT_EQ(DecodeValue("A\\M+5CDF5B", TextEncoding::Latin1), "A王B");
    EXPECT_EQ(DecodeValue("\\U+D83D\\U+DE00", TextEncoding::Utf8), "😀");
    // Not escapes: kept as written.
    EXPECT_EQ(DecodeValue("\\U+12", TextEncoding::Utf8), "\\U+12");
    EXPECT_EQ(DecodeValue("a\\\\U+5382", TextEncoding::Utf8), "a\\\\U+5382");
    EXPECT_EQ(DecodeValue("caf\xE9", TextEncoding::Latin1), "café");
    EXPECT_EQ(DecodeValue("\xFF", TextEncoding::Utf8), "\xEF\xBF\xBD");
}

TEST(DxfText, FormattingCodesAreRemoved) {
    EXPECT_EQ(PlainText("%%c50 %%p0.5 45%%d %%uA%%u 100%%%"), "⌀50 ±0.5 45° A 100%");
    EXPECT_EQ(PlainMText("{\\fSimSun|b0|i0;\\H2.5;污水站}\\P一期"), "污水站 一期");
    EXPECT_EQ(PlainMText("\\A1;\\C1;\\LA\\l\\W0.8;B\\~C\\S1^2;"), "AB C1/2");
    EXPECT_EQ(PlainMText("a\\\\b\\{c\\}"), "a\\b{c}");
    EXPECT_EQ(PlainMText("\\H"), "");
}

}  // namespace
}  // namespace quorvel::project::dxf
