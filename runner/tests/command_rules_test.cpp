// The command-line rules the Linux plugin and the Windows component share.
#include "runner/command_rules.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using Arguments = std::vector<std::u16string>;

TEST(EffectiveCommandLine, KeepOpenModeRunsTheLineInTheCommandInterpreter) {
    EXPECT_EQ(EffectiveCommandLine(u"C:\\app\\Screen3.exe <Screen3.INP", true),
              u"C:\\app\\Screen3.exe <Screen3.INP");
    EXPECT_EQ(EffectiveCommandLine(u"C:\\app\\Screen3.exe <Screen3.INP", false),
              u"cmd /k C:\\app\\Screen3.exe <Screen3.INP");
    EXPECT_EQ(EffectiveCommandLine(u"", false), u"cmd /k ");
}

TEST(SplitArgumentText, QuotesGroupAndBackslashesAreLiteralExceptBeforeAQuote) {
    EXPECT_EQ(SplitArgumentText(u"  a\tb   c "), (Arguments{u"a", u"b", u"c"}));
    EXPECT_EQ(SplitArgumentText(u"\"a b\" c\"d e\"f"), (Arguments{u"a b", u"cd ef"}));
    EXPECT_EQ(SplitArgumentText(u"\"\" x"), (Arguments{u"", u"x"}));
    EXPECT_EQ(SplitArgumentText(u" <Screen3.INP"), (Arguments{u"<Screen3.INP"}));
    EXPECT_EQ(SplitArgumentText(uR"(C:\dir\file a\\"b c" d\"e)"),
              (Arguments{uR"(C:\dir\file)", uR"(a\b c)", uR"(d"e)"}));
    EXPECT_TRUE(SplitArgumentText(u" \t ").empty());
}

TEST(ProgramCandidates, UnquotedLinesTryEveryPrefixShortestFirst) {
    const auto candidates = ProgramCandidates(u"  C:\\my app\\SCREEN3.EXE  <Screen3.INP");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0].program, u"C:\\my");
    EXPECT_EQ(candidates[0].rest, u" app\\SCREEN3.EXE  <Screen3.INP");
    EXPECT_EQ(candidates[1].program, u"C:\\my app\\SCREEN3.EXE");
    EXPECT_EQ(candidates[1].rest, u"  <Screen3.INP");
    EXPECT_EQ(candidates[2].program, u"C:\\my app\\SCREEN3.EXE  <Screen3.INP");
    EXPECT_EQ(candidates[2].rest, u"");
}

TEST(ProgramCandidates, AQuotedFirstTokenIsTheOnlyReading) {
    const auto candidates = ProgramCandidates(u"\"C:\\my app\\SCREEN3.EXE\" <Screen3.INP");
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].program, u"C:\\my app\\SCREEN3.EXE");
    EXPECT_EQ(candidates[0].rest, u" <Screen3.INP");
    const auto open = ProgramCandidates(u"\"C:\\open ended");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].program, u"C:\\open ended");
    EXPECT_TRUE(ProgramCandidates(u" \t").empty());
}

}  // namespace
}  // namespace quorvel
