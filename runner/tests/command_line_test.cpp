// Splitting a command line into program and arguments, and the line formed
// for each mode of the runner.
#include "runner/command_line.h"
#include "runner/spawn_command.h"
#include "runner/tests/test_files.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace quorvel {
namespace {

using testing::CopyExecutable;
using testing::WriteTextFile;

TEST(SplitArguments, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(SplitArguments(u"  a\tb   c "_s), QStringList({u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(SplitArguments(u"\"a b\" c\"d e\"f"_s), QStringList({u"a b"_s, u"cd ef"_s}));
    EXPECT_EQ(SplitArguments(u"\"\" x"_s), QStringList({u""_s, u"x"_s}));
    EXPECT_EQ(SplitArguments(u"\"open ended"_s), QStringList({u"open ended"_s}));
    EXPECT_TRUE(SplitArguments(u"   "_s).isEmpty());
}

TEST(SplitArguments, RedirectionSignsAndBackslashesAreLiteral) {
    EXPECT_EQ(SplitArguments(u" <Screen3.INP"_s), QStringList({u"<Screen3.INP"_s}));
    EXPECT_EQ(SplitArguments(u"a>b | c"_s), QStringList({u"a>b"_s, u"|"_s, u"c"_s}));
    EXPECT_EQ(SplitArguments(uR"(C:\dir\file)"_s), QStringList({uR"(C:\dir\file)"_s}));
    // 2n backslashes before a quote give n and the quote groups; 2n+1 give n
    // and a literal quote.
    EXPECT_EQ(SplitArguments(uR"(a\\"b c")"_s), QStringList({uR"(a\b c)"_s}));
    EXPECT_EQ(SplitArguments(uR"(a\"b c)"_s), QStringList({uR"(a"b)"_s, u"c"_s}));
}

class ResolveCommandLineTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(temp_.isValid()); }
    QString Dir(const QString& name) const { return temp_.path() + u'/' + name; }

    QTemporaryDir temp_;
};

TEST_F(ResolveCommandLineTest, DirectoryWithBlanksIsFoundByTryingPrefixes) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"my app dir"_s), u"SCREEN3.EXE"_s);
    ASSERT_FALSE(program.isEmpty());
    // A decoy: the shortest prefix names a directory, not a program.
    ASSERT_TRUE(QDir().mkpath(Dir(u"my"_s)));

    const auto resolved =
        ResolveCommandLine(Dir(u"my app dir"_s) + u"/SCREEN3.EXE <Screen3.INP"_s, {});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, program);
    EXPECT_EQ(resolved->arguments, QStringList({u"<Screen3.INP"_s}));
}

TEST_F(ResolveCommandLineTest, ShortestPrefixThatIsAProgramWins) {
    const QString shortOne = CopyExecutable(TOLVANE_PROBE, temp_.path(), u"my"_s);
    CopyExecutable(TOLVANE_PROBE, Dir(u"my app"_s), u"run"_s);
    const auto resolved = ResolveCommandLine(Dir(u"my app/run x"_s), {});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, shortOne);
    EXPECT_EQ(resolved->arguments, QStringList({u"app/run"_s, u"x"_s}));
}

TEST_F(ResolveCommandLineTest, FileNameMatchesWithoutRegardToCase) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"app"_s), u"SCREEN3.EXE"_s);
    const auto resolved = ResolveCommandLine(Dir(u"app/Screen3.exe"_s), {});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, program);
    EXPECT_TRUE(resolved->arguments.isEmpty());
}

TEST_F(ResolveCommandLineTest, BackslashSeparatesDirectories) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"a b"_s), u"SCREEN3.EXE"_s);
    const auto resolved = ResolveCommandLine(Dir(u"a b"_s) + u"\\Screen3.exe <Screen3.INP"_s, {});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, program);
}

TEST_F(ResolveCommandLineTest, QuotedProgramAndSearchDirectories) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"x y"_s), u"tool"_s);
    auto resolved = ResolveCommandLine(u"\""_s + program + u"\" \"a b\" c"_s, {});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, program);
    EXPECT_EQ(resolved->arguments, QStringList({u"a b"_s, u"c"_s}));

    resolved = ResolveCommandLine(u"TOOL 1"_s, {Dir(u"missing"_s), Dir(u"x y"_s)});
    ASSERT_TRUE(resolved.has_value());
    EXPECT_EQ(resolved->program, program);
}

TEST_F(ResolveCommandLineTest, NothingRunnableIsRefused) {
    ASSERT_TRUE(WriteTextFile(Dir(u"plain.txt"_s), "not a program"));
    ASSERT_TRUE(QDir().mkpath(Dir(u"sub"_s)));
    EXPECT_FALSE(ResolveCommandLine(u""_s, {}).has_value());
    EXPECT_FALSE(ResolveCommandLine(u"   "_s, {}).has_value());
    EXPECT_FALSE(ResolveCommandLine(Dir(u"plain.txt"_s), {}).has_value());
    EXPECT_FALSE(ResolveCommandLine(Dir(u"sub"_s) + u" x"_s, {}).has_value());
    EXPECT_FALSE(ResolveCommandLine(Dir(u"nothing here"_s), {}).has_value());
    EXPECT_FALSE(ResolveCommandLine(u"plain.txt"_s, {temp_.path()}).has_value());
}

TEST_F(ResolveCommandLineTest, AutoCloseStartsTheLineItself) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"bin"_s), u"xterm"_s);
    const auto command = FormSpawnCommand(program + u" <Screen3.INP"_s, true, {Dir(u"bin"_s)});
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->program, program);
    EXPECT_EQ(command->arguments, QStringList({u"<Screen3.INP"_s}));
}

TEST_F(ResolveCommandLineTest, WithoutAutoCloseATerminalRunsAShellThatStaysOpen) {
    const QString terminal = CopyExecutable(TOLVANE_PROBE, Dir(u"bin"_s), u"xterm"_s);
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"it's here"_s), u"SCREEN3.EXE"_s);
    const auto command = FormSpawnCommand(Dir(u"it's here"_s) + u"/Screen3.exe <Screen3.INP"_s,
                                          false, {Dir(u"bin"_s)});
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->program, terminal);
    const QString quoted = u"'"_s + QString(program).replace(u"'"_s, u"'\\''"_s) + u"'"_s;
    EXPECT_EQ(command->arguments,
              QStringList({u"-e"_s, u"sh"_s, u"-c"_s, quoted + u" <Screen3.INP\nexec sh"_s}));

    // The desktop's choice of terminal comes before xterm.
    const QString preferred =
        CopyExecutable(TOLVANE_PROBE, Dir(u"bin"_s), u"x-terminal-emulator"_s);
    EXPECT_EQ(FindTerminalEmulator({Dir(u"bin"_s)}), preferred);

    // A line whose program is not found reaches the shell as it is.
    EXPECT_EQ(TerminalScript(u"echo hi &"_s, {}), u"echo hi &\nexec sh"_s);
}

TEST_F(ResolveCommandLineTest, WithoutATerminalEmulatorNothingStarts) {
    const QString program = CopyExecutable(TOLVANE_PROBE, Dir(u"bin"_s), u"tool"_s);
    EXPECT_FALSE(FormSpawnCommand(program, false, {Dir(u"empty"_s)}).has_value());
}

}  // namespace
}  // namespace quorvel
