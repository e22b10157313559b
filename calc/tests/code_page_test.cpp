#include "calc/code_page.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(CodePage936, DecodesDoubleByteCharactersIntoOneCharacterEach) {
    const auto text = DecodeCodePage936("\xCB\xB5\xC3\xF7.txt\r\n");  // 说明.txt
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), u"说明.txt\r\n");
    EXPECT_EQ(DecodeCodePage936("").value(), u"");
}

TEST(CodePage936, UndecodableBytesBecomeReplacementCharacters) {
    const auto text = DecodeCodePage936(
        "a\xFF"
        "b\xCB");
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value(), u"a\uFFFDb\uFFFD");
}

TEST(CodePage936, EncodesAndRefusesCharactersOutsideTheCodePage) {
    const auto bytes = EncodeCodePage936(u"说明 A");
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(bytes.value(), "\xCB\xB5\xC3\xF7 A");
    const auto refused = EncodeCodePage936(u"a\U0001F600");
    EXPECT_FALSE(refused.ok());
    EXPECT_FALSE(refused.error().empty());
}

TEST(CodePage936, LongTextsRoundTrip) {
    std::u16string text;
    for (int i = 0; i < 5000; ++i) text += u"浓度 Conc\r\n";
    const auto bytes = EncodeCodePage936(text);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(DecodeCodePage936(bytes.value()).value(), text);
}

}  // namespace
}  // namespace quorvel
