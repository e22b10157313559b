#pragma once
// The window's handlers that do more than one control's work, toolkit-free:
// the Run steps with the busy state, the check before a run, the validation
// message, and closing while a run is pending. A front end implements
// Form1Controls for its own controls and calls these from its events.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calculation_inputs.h"
#include "calc/check_inputs.h"
#include "calc/run/process_launcher.h"
#include "calc/run_record.h"

namespace quorvel {

// What the handlers need of the window's controls.
class Form1Controls {
  public:
    virtual ~Form1Controls() = default;

    // The inputs as the controls hold them at this moment.
    virtual CalculationInputs ReadInputs() const = 0;
    // A modal message: one OK button, no icon, title kMessageTitle; returns
    // once it is closed.
    virtual void ShowMessage(std::u16string_view text) = 0;
    virtual void MoveFocus(CheckFocus control) = 0;
    // Busy: the Run button reads kBusyCaption and is disabled, the pointer
    // over the window is the hourglass. Idle: kRunCaption, enabled, default.
    virtual void ShowBusy(bool busy) = 0;
    // Replaces the whole text of the result box; lines end in CR LF.
    virtual void ShowVerdict(std::u16string_view verdict) = 0;
    // Enables or disables the calculation-sheet button Command2.
    virtual void EnableCommand2(bool enabled) = 0;
    // Closes the window for good.
    virtual void Unload() = 0;
};

class Form1Behaviour {
  public:
    // appDir: the application directory. launcher: null when no runner can
    // be had; a run then fails with the model-not-started text.
    Form1Behaviour(Form1Controls& controls, std::filesystem::path appDir,
                   std::shared_ptr<ProcessLauncher> launcher);

    // Refuses a calculation that may not start, with its message and focus.
    bool CheckInputs();
    // One calculation; on success the verdict stands in the result box.
    bool RunScreen3(std::u16string& errorText);
    // The calculation-sheet button: writes the sheet of the last successful
    // run into documentsDir/Quorvel and returns its path, for the front end
    // to open with the desktop's browser. When it cannot be written, or there
    // is no documents folder, shows the reason in a message and returns
    // nullopt; nullopt too before any run has succeeded.
    std::optional<std::filesystem::path> Command2_Click(const std::filesystem::path& documentsDir);

    // The Run button: check, busy, run, the error message while still busy,
    // idle; then the deferred close, if one was asked for during the run.
    void RunClicked();

    // Validation of an input box about to lose the focus: true (cancel) after
    // the invalid-data message when its text holds no number above 0.
    bool Text1_Validate(std::u16string_view text);

    // Exit or the close box. True: the window may close now. False: a run is
    // pending; the model has been told to end and the window unloads as soon
    // as the run has come back.
    bool QueryClose();

    bool IsBusy() const { return running_; }

    // The instructions file in the application directory, if it is there.
    std::optional<std::filesystem::path> InstructionsFile() const;
    const std::filesystem::path& AppDir() const { return appDir_; }

  private:
    Form1Controls& controls_;
    std::filesystem::path appDir_;
    std::shared_ptr<ProcessLauncher> launcher_;
    bool running_ = false;
    bool closeRequested_ = false;
    std::optional<RunRecord> lastRun_;  // of the last successful run
};

}  // namespace quorvel
