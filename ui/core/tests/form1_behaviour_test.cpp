// The Run steps with the busy state, the check before a run, the validation
// message and closing while a run is pending, seen through a recording window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "calc/run/run_screen3.h"
#include "calc/run/tests/crafted_report.h"
#include "calc/run/tests/fake_launcher.h"
#include "calc/unicode_text.h"
#include "ui/core/form1_behaviour.h"
#include "ui/core/form1_design.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test_support::FakeLauncher;
using test_support::LaunchCall;

// Records what the behaviour does to the window, in order.
class RecordingControls : public Form1Controls {
  public:
    CalculationInputs inputs;
    std::vector<std::string> events;
    std::function<void()> onMessage;

    CalculationInputs ReadInputs() const override { return inputs; }
    void ShowMessage(std::u16string_view text) override {
        events.push_back("message " + ToUtf8(text));
        if (onMessage) onMessage();
    }
    void MoveFocus(CheckFocus control) override {
        events.push_back("focus " + std::to_string(static_cast<int>(control)));
    }
    void ShowBusy(bool busy) override { events.push_back(busy ? "busy" : "idle"); }
    void ShowVerdict(std::u16string_view verdict) override {
        events.push_back("verdict " + ToUtf8(verdict));
    }
    void EnableCommand2(bool enabled) override {
        events.push_back(enabled ? "sheet on" : "sheet off");
    }
    void Unload() override { events.push_back("unload"); }
};

class Form1BehaviourTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quorvel_behaviour_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir_);
        std::ofstream(dir_ / "SCREEN3.EXE") << "";
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A model that writes a report whose standard is reached up to 60 m.
    std::shared_ptr<FakeLauncher> Model(std::function<void()> whileRunning = {}) {
        return std::make_shared<FakeLauncher>([this, whileRunning](const LaunchCall&) {
            if (whileRunning) whileRunning();
            test_support::CraftedReport report;
            for (double distance : {10.0, 60.0, 70.0}) {
                report.rows.push_back({distance, distance <= 60.0 ? 900.0 : 100.0});
            }
            report.maxima.push_back({900.0, 10.0});
            std::ofstream(dir_ / "Screen.OUT", std::ios::binary) << ReportText(report);
            return Result<std::int32_t>(1);
        });
    }

    fs::path dir_;
    RecordingControls controls_;
};

TEST_F(Form1BehaviourTest, ASuccessfulRunIsBusyThenShowsTheVerdictAndComesBackIdle) {
    auto launcher = Model();
    Form1Behaviour behaviour(controls_, dir_, launcher);
    behaviour.RunClicked();
    const std::vector<std::string> expected = {
        "busy", "verdict Quorvel 建议距离（距面源中心） = 70 m", "sheet on", "idle"};
    EXPECT_EQ(controls_.events, expected);
    EXPECT_EQ(launcher->calls.size(), 1u);
    EXPECT_FALSE(behaviour.IsBusy());
}

TEST_F(Form1BehaviourTest, ARefusedCheckShowsItsMessageMovesTheFocusAndNeverGetsBusy) {
    controls_.inputs.HourlyChecked = false;
    auto launcher = Model();
    Form1Behaviour behaviour(controls_, dir_, launcher);
    behaviour.RunClicked();
    const std::vector<std::string> expected = {
        "message 未设置评价标准!",
        "focus " + std::to_string(static_cast<int>(CheckFocus::Check1_0))};
    EXPECT_EQ(controls_.events, expected);
    EXPECT_TRUE(launcher->calls.empty());
}

TEST_F(Form1BehaviourTest, AFailedRunShowsItsErrorWhileStillBusy) {
    fs::remove(dir_ / "SCREEN3.EXE");
    Form1Behaviour behaviour(controls_, dir_, Model());
    bool busyDuringMessage = false;
    controls_.onMessage = [&] { busyDuringMessage = behaviour.IsBusy(); };
    behaviour.RunClicked();
    const std::vector<std::string> expected = {"busy", "message " + ToUtf8(kModelMissingText),
                                               "idle"};
    EXPECT_EQ(controls_.events, expected);
    EXPECT_TRUE(busyDuringMessage);
}

TEST_F(Form1BehaviourTest, WithoutARunnerTheRunFailsWithTheNotStartedText) {
    Form1Behaviour behaviour(controls_, dir_, nullptr);
    behaviour.RunClicked();
    ASSERT_EQ(controls_.events.size(), 3u);
    EXPECT_EQ(controls_.events[1], "message " + ToUtf8(kModelNotStartedText));
}

TEST_F(Form1BehaviourTest, ClosingDuringARunEndsTheModelAndUnloadsOnceTheRunIsBack) {
    Form1Behaviour* current = nullptr;
    bool mayCloseDuringRun = true;
    auto launcher = Model([&] { mayCloseDuringRun = current->QueryClose(); });
    Form1Behaviour behaviour(controls_, dir_, launcher);
    current = &behaviour;
    EXPECT_TRUE(behaviour.QueryClose());  // idle: closes at once, nothing ended
    behaviour.RunClicked();
    EXPECT_FALSE(mayCloseDuringRun);
    EXPECT_EQ(launcher->terminations, 1);
    ASSERT_FALSE(controls_.events.empty());
    EXPECT_EQ(controls_.events.back(), "unload");
    EXPECT_EQ(controls_.events[controls_.events.size() - 2], "idle");
}

TEST_F(Form1BehaviourTest, ValidationCancelsWithTheInvalidDataMessage) {
    Form1Behaviour behaviour(controls_, dir_, nullptr);
    EXPECT_FALSE(behaviour.Text1_Validate(u"15 m"));
    EXPECT_TRUE(controls_.events.empty());
    EXPECT_TRUE(behaviour.Text1_Validate(u"0"));
    EXPECT_EQ(controls_.events, std::vector<std::string>{"message 无效数据!"});
}

TEST_F(Form1BehaviourTest, TheSheetIsOfTheLastSuccessfulRunAndAFailedRunLeavesIt) {
    Form1Behaviour behaviour(controls_, dir_, Model());
    const fs::path documents = dir_ / "documents";
    EXPECT_FALSE(behaviour.Command2_Click(documents));  // no run yet
    EXPECT_TRUE(controls_.events.empty());

    behaviour.RunClicked();
    fs::remove(dir_ / "SCREEN3.EXE");
    behaviour.RunClicked();  // fails: the button stays as it was
    EXPECT_EQ(std::count(controls_.events.begin(), controls_.events.end(), "sheet on"), 1);
    EXPECT_EQ(std::count(controls_.events.begin(), controls_.events.end(), "sheet off"), 0);

    controls_.events.clear();
    const auto sheet = behaviour.Command2_Click(documents);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->parent_path(), documents / "Quorvel");
    std::ifstream in(*sheet, std::ios::binary);
    const std::string html(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(html.find("Quorvel 建议距离（距面源中心） = 70 m"), std::string::npos);
    EXPECT_TRUE(controls_.events.empty());
}

TEST_F(Form1BehaviourTest, ASheetThatCannotBeWrittenGivesTheReason) {
    Form1Behaviour behaviour(controls_, dir_, Model());
    behaviour.RunClicked();
    controls_.events.clear();
    std::ofstream(dir_ / "Quorvel") << "a file where the folder must be";
    EXPECT_FALSE(behaviour.Command2_Click(dir_));
    ASSERT_EQ(controls_.events.size(), 1u);
    EXPECT_TRUE(controls_.events[0].starts_with("message 无法创建保存计算书的文件夹: "));
    EXPECT_FALSE(behaviour.Command2_Click(fs::path()));
    EXPECT_EQ(controls_.events.back(), "message " + ToUtf8(kNoDocumentsFolderText));
}

TEST_F(Form1BehaviourTest, TheInstructionsFileIsFoundWhateverTheCaseOfItsName) {
    Form1Behaviour behaviour(controls_, dir_, nullptr);
    EXPECT_FALSE(behaviour.InstructionsFile().has_value());
    std::ofstream(dir_ / PathFromText(u"说明.TXT")) << "x";
    EXPECT_TRUE(behaviour.InstructionsFile().has_value());
}

}  // namespace
}  // namespace quorvel
