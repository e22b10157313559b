#pragma once
// The program's only window on Win32: the controls of the shared design,
// wired to the shared behaviour. Every control is a child of the window
// itself, placed at its frame's offset, so that all notifications reach one
// window procedure.

#include <windows.h>

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "ui/core/form1_behaviour.h"
#include "ui/core/form1_design.h"
#include "ui/win32/control_ids.h"

namespace quorvel {

class ProjectWindow;

class Form1Window : private Form1Controls {
  public:
    Form1Window(std::filesystem::path appDir, std::shared_ptr<ProcessLauncher> launcher);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window with its controls, loads it and shows it; false
    // when the system refuses to create it.
    bool Create(HINSTANCE instance, int showCommand);

  private:
    template <class Owner>
    friend LRESULT CALLBACK OwnedWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR place, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnControlMessage(HWND control, std::size_t place, UINT message, WPARAM wParam,
                             LPARAM lParam);

    // Form1Controls
    CalculationInputs ReadInputs() const override;
    void ShowMessage(std::u16string_view text) override;
    void MoveFocus(CheckFocus control) override;
    void ShowBusy(bool busy) override;
    void ShowVerdict(std::u16string_view verdict) override;
    void EnableCommand2(bool enabled) override;
    void Unload() override;

    void CreateControls();
    void CreateFonts();
    void Layout();
    void AddTooltips();
    HWND Control(std::string_view name, int index = -1) const;
    HFONT FontOf(const ControlDesign& design) const;

    void Form_Load();
    void Check1_Click(int index);
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    // Asks an open project window to close first; false when it stays open.
    bool CloseProjectWindow();
    void Label2_Click(int index);
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);

    // Index of the input box `control` is, or -1.
    int InputBoxIndex(HWND control) const;
    // Validates the focused input box before the focus moves to `target`;
    // false when the move is refused.
    bool AllowFocusMove(HWND target);
    // The next control in tab order that can take the focus.
    HWND NextInTabOrder(HWND from, bool backwards) const;
    bool IsOwnControl(HWND window) const;

    std::filesystem::path appDir_;
    std::unique_ptr<ProjectWindow> project_;  // the project window, one at a time
    Form1Behaviour behaviour_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    UINT dpi_ = 96;
    HFONT windowFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    HFONT linkUnderlinedFont_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    bool busy_ = false;
    bool leaveApproved_ = false;  // the focused box has been validated for this move
    bool restoringFocus_ = false;
    HWND lastFocus_ = nullptr;  // restored when the window is activated again

    std::vector<HWND> controls_;  // parallel to Form1Design()
    std::array<HWND, 6> Text1{};
    std::array<HWND, 2> Check1{};
    std::array<HWND, 2> Combo1{};
    std::array<HWND, 3> Command1{};
    HWND Command2 = nullptr;
    std::array<HWND, 3> Label2{};
    HWND Text2 = nullptr;
};

}  // namespace quorvel
