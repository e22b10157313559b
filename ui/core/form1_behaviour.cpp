#include "ui/core/form1_behaviour.h"

#include <utility>

#include "calc/file_names.h"
#include "calc/run/run_screen3.h"
#include "calc/sheet/sheet_file.h"
#include "ui/core/form1_design.h"
#include "ui/core/input_rules.h"

namespace quorvel {

Form1Behaviour::Form1Behaviour(Form1Controls& controls, std::filesystem::path appDir,
                               std::shared_ptr<ProcessLauncher> launcher)
    : controls_(controls), appDir_(std::move(appDir)), launcher_(std::move(launcher)) {}

bool Form1Behaviour::CheckInputs() {
    const CheckDecision decision = DecideCheckInputs(controls_.ReadInputs());
    if (decision.pass) return true;
    controls_.ShowMessage(decision.message);
    controls_.MoveFocus(decision.focus);
    return false;
}

bool Form1Behaviour::RunScreen3(std::u16string& errorText) {
    if (!launcher_) {
        errorText = kModelNotStartedText;
        return false;
    }
    const Result<std::u16string> verdict = quorvel::RunScreen3(
        appDir_, [this] { return controls_.ReadInputs(); }, *launcher_, lastRun_);
    if (!verdict) {
        errorText = verdict.error();
        return false;
    }
    controls_.ShowVerdict(verdict.value());
    controls_.EnableCommand2(true);
    return true;
}

std::optional<std::filesystem::path> Form1Behaviour::Command2_Click(
    const std::filesystem::path& documentsDir) {
    if (!lastRun_) return std::nullopt;
    if (documentsDir.empty()) {
        controls_.ShowMessage(kNoDocumentsFolderText);
        return std::nullopt;
    }
    Result<std::filesystem::path> saved = SaveCalculationSheet(documentsDir, *lastRun_);
    if (!saved) {
        controls_.ShowMessage(saved.error());
        return std::nullopt;
    }
    return std::move(saved).value();
}

void Form1Behaviour::RunClicked() {
    if (running_ || !CheckInputs()) return;
    running_ = true;
    controls_.ShowBusy(true);
    std::u16string errorText;
    const bool done = RunScreen3(errorText);
    // A run ended because the window is closing has nothing to tell.
    if (!done && !closeRequested_) controls_.ShowMessage(errorText);
    controls_.ShowBusy(false);
    running_ = false;
    if (closeRequested_) controls_.Unload();
}

bool Form1Behaviour::Text1_Validate(std::u16string_view text) {
    if (!ValidationCancels(text)) return false;
    controls_.ShowMessage(kInvalidDataText);
    return true;
}

bool Form1Behaviour::QueryClose() {
    if (!running_) return true;
    // The run still reads and writes the window: end the model, let the run
    // come back, then close.
    closeRequested_ = true;
    if (launcher_) launcher_->Terminate();
    return false;
}

std::optional<std::filesystem::path> Form1Behaviour::InstructionsFile() const {
    return FindFileIgnoringCase(appDir_, std::string_view(kInstructionsFileName));
}

}  // namespace quorvel
