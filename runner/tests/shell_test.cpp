// Running command lines through the runner object: what the child receives,
// where it runs, how the caller stays live while it waits, and clean-up.
#include "runner/clsexecute.h"
#include "runner/command_line.h"
#include "runner/spawn_command.h"
#include "runner/tests/qt_app.h"
#include "runner/tests/test_files.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

namespace quorvel {
namespace {

using testing::CopyExecutable;
using testing::ReadLines;
using testing::WriteTextFile;

QString Sleeper(int ms, const QString& extra = QString()) {
    return QString(TOLVANE_SLEEPER) + u' ' + QString::number(ms) +
           (extra.isEmpty() ? u""_s : u' ' + extra);
}

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::EnsureQtApp();
        ASSERT_TRUE(temp_.isValid());
    }
    QString Dir(const QString& name) const { return temp_.path() + u'/' + name; }

    QTemporaryDir temp_;
};

TEST_F(ShellTest, FreshInstanceRunsTheLineUnchangedInCurDir) {
    // The call the calculation makes, in a directory with blanks and with the
    // separators it writes.
    const QString appDir = Dir(u"app dir"_s);
    ASSERT_FALSE(CopyExecutable(TOLVANE_PROBE, appDir, u"SCREEN3.EXE"_s).isEmpty());
    ASSERT_TRUE(WriteTextFile(appDir + u"/Screen3.INP"_s, "answers\r\n"));

    ClsExecute runner;
    EXPECT_EQ(runner.Shell(appDir + u"\\Screen3.exe <Screen3.INP"_s, appDir + u"\\"_s, kSwHide), 1);

    const QStringList lines = ReadLines(appDir + u"/probe.txt"_s);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QFileInfo(appDir).canonicalFilePath());
    struct stat input {};
    ASSERT_EQ(::stat(QFile::encodeName(appDir + u"/Screen3.INP"_s).constData(), &input), 0);
    EXPECT_NE(lines[1], QString::number(input.st_dev) + u':' + QString::number(input.st_ino))
        << "the answer file was connected to standard input";
    EXPECT_EQ(lines[2], u"<Screen3.INP"_s);
}

TEST_F(ShellTest, EmptyCurDirKeepsTheCallersDirectory) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp_.path()));
    ClsExecute runner;
    const std::int32_t result = runner.Shell(QString(TOLVANE_PROBE) + u" \"two words\" x"_s);
    QDir::setCurrent(before);
    EXPECT_EQ(result, 1);
    const QStringList lines = ReadLines(Dir(u"probe.txt"_s));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QFileInfo(temp_.path()).canonicalFilePath());
    EXPECT_EQ(lines.mid(2), QStringList({u"two words"_s, u"x"_s}));
}

TEST_F(ShellTest, WhatCannotStartReturnsZeroAtOnce) {
    ASSERT_TRUE(WriteTextFile(Dir(u"notes.txt"_s), "text"));
    ClsExecute runner;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner.Shell(Dir(u"missing/Screen3.exe <Screen3.INP"_s), temp_.path()), 0);
    EXPECT_EQ(runner.Shell(Dir(u"notes.txt"_s)), 0);
    EXPECT_EQ(runner.Shell(u""_s), 0);
    EXPECT_EQ(runner.Shell(Sleeper(5000), Dir(u"no such dir"_s)), 0);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(ShellTest, CallersEventsRunWhileTheChildSleeps) {
    int ticks = 0;
    bool singleShotFired = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(20);
    QTimer::singleShot(50, [&singleShotFired] { singleShotFired = true; });

    ClsExecute runner;
    EXPECT_EQ(runner.Shell(Sleeper(600)), 1);
    EXPECT_TRUE(singleShotFired);
    EXPECT_GE(ticks, 10);
}

TEST_F(ShellTest, WaitingCostsLittleCpuTime) {
    const auto cpuSeconds = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    ClsExecute runner;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(runner.Shell(Sleeper(2000)), 1);
    const double wall = static_cast<double>(clock.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    EXPECT_GE(wall, 1.9);
    EXPECT_LT(cpu, 0.1 * wall) << "cpu " << cpu << " s over " << wall << " s";
}

TEST_F(ShellTest, RunsLeaveNoChildrenOrDescriptorsBehind) {
    const auto openDescriptors = [] {
        return QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
    };
    ClsExecute runner;
    const qsizetype before = openDescriptors();
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(runner.Shell(Sleeper(10)), 1);
        ASSERT_EQ(runner.Shell(Dir(u"missing"_s)), 0);
    }
    EXPECT_EQ(openDescriptors(), before);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD) << "a child was left unreaped";
}

TEST_F(ShellTest, TerminateEndsTheRunningChild) {
    ClsExecute runner;
    EXPECT_EQ(runner.Terminate(), 0) << "nothing runs yet";

    std::int32_t terminated = -1;
    QTimer::singleShot(100, [&] { terminated = runner.Terminate(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner.Shell(Sleeper(20000)), 1);
    EXPECT_EQ(terminated, 1);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(runner.Terminate(), 0);
}

TEST_F(ShellTest, TerminateKillsAChildThatIgnoresSigterm) {
    ClsExecute runner;
    // Terminate once the child has had time to set up its signal handling.
    QTimer::singleShot(300, [&] { runner.Terminate(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner.Shell(Sleeper(30000, u"ignore-term"_s)), 1);
    EXPECT_GE(clock.elapsed(), 2000) << "killed before the grace period";
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST_F(ShellTest, DeletingTheObjectDuringItsRunEndsTheChild) {
    auto* runner = new ClsExecute();
    QTimer::singleShot(100, [&runner] {
        delete runner;
        runner = nullptr;
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner->Shell(Sleeper(20000)), 1);
    EXPECT_EQ(runner, nullptr);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(ShellTest, NestedRunsAllEndWhenTheObjectIsDeleted) {
    auto* runner = new ClsExecute();
    std::int32_t inner = -1;
    QTimer::singleShot(100, [&] { inner = runner->Shell(Sleeper(20000)); });
    QTimer::singleShot(300, [&runner] {
        delete runner;
        runner = nullptr;
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner->Shell(Sleeper(20000)), 1);
    EXPECT_EQ(inner, 1);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(ShellTest, AutoCloseWindowFalseRunsTheLineInATerminal) {
    // A stand-in terminal emulator that records its arguments.
    const QString bin = Dir(u"bin"_s);
    ASSERT_FALSE(CopyExecutable(TOLVANE_PROBE, bin, u"xterm"_s).isEmpty());
    const QString program = CopyExecutable(TOLVANE_SLEEPER, Dir(u"app"_s), u"SCREEN3.EXE"_s);

    ClsExecute runner({bin});
    runner.AutoCloseWindow(kVbFalse);
    EXPECT_EQ(runner.Shell(program + u" <Screen3.INP"_s, temp_.path()), 1);
    QStringList lines = ReadLines(Dir(u"probe.txt"_s));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.mid(2), QStringList({u"-e"_s, u"sh"_s, u"-c"_s,
                                         u"'"_s + program + u"' <Screen3.INP"_s, u"exec sh"_s}));

    // Any non-zero value means True again: the line runs unchanged.
    QFile::remove(Dir(u"probe.txt"_s));
    runner.AutoCloseWindow(1);
    EXPECT_EQ(runner.Shell(Dir(u"bin/xterm 5"_s), temp_.path()), 1);
    lines = ReadLines(Dir(u"probe.txt"_s));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], u"5"_s);
}

TEST_F(ShellTest, TerminalWindowStaysOpenUntilClosed) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        FindTerminalEmulator(DefaultSearchDirs()).isEmpty()) {
        GTEST_SKIP() << "needs a display and a terminal emulator";
    }
    ClsExecute runner;
    runner.AutoCloseWindow(kVbFalse);
    // Once the command has run, the window must still be open half a second
    // later; then it is closed, which ends the run.
    std::int32_t stillOpen = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QFileInfo::exists(Dir(u"probe.txt"_s))) {
            poll.stop();
            QTimer::singleShot(500, [&] { stillOpen = runner.Terminate(); });
        }
    });
    poll.start(50);
    EXPECT_EQ(runner.Shell(QString(TOLVANE_PROBE) + u" from-terminal"_s, temp_.path()), 1);
    EXPECT_EQ(stillOpen, 1);
    const QStringList lines = ReadLines(Dir(u"probe.txt"_s));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], u"from-terminal"_s);
}

TEST_F(ShellTest, AutoCloseWindowFalseWithoutATerminalReturnsZero) {
    ClsExecute runner({Dir(u"empty"_s)});
    runner.AutoCloseWindow(kVbFalse);
    EXPECT_EQ(runner.Shell(Sleeper(10)), 0);
    runner.AutoCloseWindow(kVbTrue);
    EXPECT_EQ(runner.Shell(Sleeper(10)), 1);
}

}  // namespace
}  // namespace quorvel
