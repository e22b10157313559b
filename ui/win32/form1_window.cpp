#include "ui/win32/form1_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <string>
#include <utility>

#include "ui/core/input_rules.h"
#include "ui/core/twips.h"
#include "ui/publisher.h"
#include "ui/win32/cjk_font.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/project_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_dpi.h"
#include "ui/win32/window_text.h"

namespace quorvel {
namespace {

constexpr UINT kUnloadMessage = WM_APP + 1;
// Sent when the focus left an input box in a way that was not validated
// beforehand (an access key, another program moving it): wParam is the box.
constexpr UINT kLateValidateMessage = WM_APP + 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;

std::size_t PlaceOf(const ControlDesign& control) {
    return static_cast<std::size_t>(&control - Form1Design().data());
}

bool TakesFocus(const ControlDesign& design) {
    return design.kind != ControlKind::Label && design.kind != ControlKind::Frame;
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(const ControlDesign& design) {
    switch (design.kind) {
        case ControlKind::Label:
            return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
        case ControlKind::Frame:
            return {WC_BUTTONW, BS_GROUPBOX, 0};
        case ControlKind::TextBox:
            return {WC_EDITW, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::DropDownList:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::Button:
            return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ResultBox:
            return {WC_EDITW, ES_LEFT | ES_MULTILINE | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

}  // namespace

Form1Window::Form1Window(std::filesystem::path appDir, std::shared_ptr<ProcessLauncher> launcher)
    : appDir_(appDir), behaviour_(*this, std::move(appDir), std::move(launcher)) {}

Form1Window::~Form1Window() {
    if (window_ != nullptr) DestroyWindow(window_);
    for (HFONT font : {windowFont_, linkFont_, linkUnderlinedFont_}) {
        if (font != nullptr) DeleteObject(font);
    }
}

bool Form1Window::Create(HINSTANCE instance, int showCommand) {
    instance_ = instance;
    handCursor_ = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_HAND_POINTER));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnedWindowProc<Form1Window>;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, 32, 32, 0));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1ClassName;
    RegisterClassExW(&windowClass);

    window_ = CreateWindowExW(0, kForm1ClassName, Wide(kWindowTitle).c_str(), kWindowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (window_ == nullptr) return false;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowClass.hIcon));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowClass.hIconSm));
    dpi_ = WindowDpi(window_);
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi_)),
               TwipsToPixels(kClientHeightTwips, static_cast<int>(dpi_))};
    AdjustWindowRectForDpi(frame, kWindowStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    CreateFonts();
    CreateControls();
    Layout();
    AddTooltips();
    Form_Load();
    lastFocus_ = Command1[1];
    ShowWindow(window_, showCommand);
    SetFocus(Command1[1]);
    return true;
}

void Form1Window::CreateControls() {
    const auto design = Form1Design();
    controls_.assign(design.size(), nullptr);
    for (const ControlDesign& control : design) {
        const ControlClass kind = ClassOf(control);
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
        if (control.visible) style |= WS_VISIBLE;
        if (!control.enabled) style |= WS_DISABLED;
        HWND hwnd = CreateWindowExW(
            kind.exStyle, kind.name, Wide(control.caption).c_str(), style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))), instance_, nullptr);
        const std::size_t place = PlaceOf(control);
        controls_[place] = hwnd;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(control)), FALSE);
        if (control.kind == ControlKind::DropDownList) {
            for (std::u16string_view item : control.items) {
                SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
            }
        }
        if (control.kind == ControlKind::CheckBox) {
            Button_SetCheck(hwnd, control.checked ? BST_CHECKED : BST_UNCHECKED);
        }
        SetWindowSubclass(hwnd, ControlProc, place, reinterpret_cast<DWORD_PTR>(this));
    }
    // Frames lie beneath the controls they hold.
    for (const ControlDesign& control : design) {
        if (control.kind != ControlKind::Frame) continue;
        SetWindowPos(controls_[PlaceOf(control)], HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (int i = 0; i < 6; ++i) Text1[static_cast<std::size_t>(i)] = Control("Text1", i);
    for (int i = 0; i < 2; ++i) Check1[static_cast<std::size_t>(i)] = Control("Check1", i);
    for (int i = 0; i < 2; ++i) Combo1[static_cast<std::size_t>(i)] = Control("Combo1", i);
    for (int i = 0; i < 3; ++i) Command1[static_cast<std::size_t>(i)] = Control("Command1", i);
    Command2 = Control("Command2");
    for (int i = 0; i < 3; ++i) Label2[static_cast<std::size_t>(i)] = Control("Label2", i);
    Text2 = Control("Text2");
}

HWND Form1Window::Control(std::string_view name, int index) const {
    return controls_[PlaceOf(Design(name, index))];
}

void Form1Window::CreateFonts() {
    for (HFONT font : {windowFont_, linkFont_, linkUnderlinedFont_}) {
        if (font != nullptr) DeleteObject(font);
    }
    windowFont_ = CreateCjkFont(WindowFontFace(), kWindowFontPoints, dpi_, false);
    linkFont_ = CreateCjkFont(Wide(kCjkFace), kLinkFontPoints, dpi_, false);
    linkUnderlinedFont_ = CreateCjkFont(Wide(kCjkFace), kLinkFontPoints, dpi_, true);
}

HFONT Form1Window::FontOf(const ControlDesign& design) const {
    switch (design.font) {
        case ControlFont::Window:
            return windowFont_;
        case ControlFont::Link:
            return linkFont_;
        case ControlFont::LinkUnderlined:
            return linkUnderlinedFont_;
    }
    return windowFont_;
}

void Form1Window::Layout() {
    const int dpi = static_cast<int>(dpi_);
    for (const ControlDesign& design : Form1Design()) {
        HWND control = controls_[PlaceOf(design)];
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(design)), FALSE);
        PixelRect rect = ToPixels(WindowTwips(design), dpi);
        if (design.autoSized) {
            // The label keeps its place and takes the size of its text.
            const SIZE size = TextExtent(control, FontOf(design), WindowText(control));
            rect.width = size.cx;
            rect.height = size.cy;
        }
        if (design.kind == ControlKind::DropDownList) {
            // The height given to a list includes its dropped-down part; the
            // closed list's height follows its selection field.
            for (int attempt = 0; attempt < 3; ++attempt) {
                MoveWindow(control, rect.x, rect.y, rect.width, rect.height * 8, FALSE);
                RECT shown{};
                GetWindowRect(control, &shown);
                const auto field =
                    static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0));
                const int difference = rect.height - static_cast<int>(shown.bottom - shown.top);
                if (difference == 0 || field + difference <= 0) break;
                SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), field + difference);
            }
        } else {
            MoveWindow(control, rect.x, rect.y, rect.width, rect.height, FALSE);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::AddTooltips() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, instance_, nullptr);
    for (const ControlDesign& design : Form1Design()) {
        if (design.tooltip.empty()) continue;
        std::wstring text = Wide(design.tooltip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(controls_[PlaceOf(design)]);
        tool.lpszText = text.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Form1Window::Form_Load() {
    HWND units = Combo1[0];
    SendMessageW(units, CB_RESETCONTENT, 0, 0);
    for (std::u16string_view unit : RateUnitItems()) {
        SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(unit).c_str()));
    }
    SendMessageW(units, CB_SETCURSEL, 0, 0);
    SendMessageW(Combo1[1], CB_SETCURSEL, kUrbanLocationIndex, 0);
}

CalculationInputs Form1Window::ReadInputs() const {
    CalculationInputs inputs;
    inputs.HeightText = Utf16(WindowText(Text1[0]));
    inputs.WidthText = Utf16(WindowText(Text1[1]));
    inputs.LengthText = Utf16(WindowText(Text1[2]));
    inputs.RateText = Utf16(WindowText(Text1[3]));
    inputs.RateUnit = static_cast<std::int16_t>(SendMessageW(Combo1[0], CB_GETCURSEL, 0, 0));
    inputs.HourlyChecked = Button_GetCheck(Check1[0]) == BST_CHECKED;
    inputs.HourlyStandardText = Utf16(WindowText(Text1[4]));
    inputs.DailyChecked = Button_GetCheck(Check1[1]) == BST_CHECKED;
    inputs.DailyStandardText = Utf16(WindowText(Text1[5]));
    inputs.LocationIndex = static_cast<std::int16_t>(SendMessageW(Combo1[1], CB_GETCURSEL, 0, 0));
    return inputs;
}

void Form1Window::ShowMessage(std::u16string_view text) {
    HWND focused = GetFocus();
    MessageBoxW(window_, Wide(text).c_str(), Wide(kMessageTitle).c_str(), MB_OK);
    // The control that had the focus gets it back, even where the system
    // does not hand the activation back to the window.
    if (IsOwnControl(focused) && GetFocus() != focused) {
        restoringFocus_ = true;
        SetFocus(focused);
        restoringFocus_ = false;
    }
}

void Form1Window::MoveFocus(CheckFocus focus) {
    HWND control = nullptr;
    if (focus == CheckFocus::Check1_0) {
        control = Check1[0];
    } else if (focus != CheckFocus::None) {
        control = Text1[static_cast<std::size_t>(static_cast<int>(focus) -
                                                 static_cast<int>(CheckFocus::Text1_0))];
    }
    if (control != nullptr) SetFocus(control);
}

void Form1Window::ShowBusy(bool busy) {
    busy_ = busy;
    SetWindowTextW(Command1[0], Wide(busy ? kBusyCaption : kRunCaption).c_str());
    EnableWindow(Command1[0], busy ? FALSE : TRUE);
    POINT pointer{};
    GetCursorPos(&pointer);
    HWND under = WindowFromPoint(pointer);
    if (under == window_ || IsChild(window_, under)) {
        SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
}

void Form1Window::ShowVerdict(std::u16string_view verdict) {
    SetWindowTextW(Text2, Wide(verdict).c_str());
}

void Form1Window::EnableCommand2(bool enabled) { EnableWindow(Command2, enabled ? TRUE : FALSE); }

void Form1Window::Unload() { PostMessageW(window_, kUnloadMessage, 0, 0); }

void Form1Window::Check1_Click(int index) {
    const auto state = static_cast<int>(Button_GetCheck(Check1[static_cast<std::size_t>(index)]));
    EnableWindow(Text1[static_cast<std::size_t>(StandardBoxOf(index))],
                 StandardBoxEnabled(state) ? TRUE : FALSE);
}

void Form1Window::Command1_Click(int index) {
    if (index == 0) {
        behaviour_.RunClicked();
    } else if (index == 1) {
        const auto file = behaviour_.InstructionsFile();
        if (!file) return;
        // All that follows "NOTEPAD " is the file's path, unquoted.
        std::wstring commandLine = L"NOTEPAD " + file->wstring();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    } else {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

void Form1Window::Command2_Click() {
    std::filesystem::path documents;  // stays empty when the user has no documents folder
    PWSTR folder = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &folder))) {
        documents = folder;
    }
    CoTaskMemFree(folder);
    const auto sheet = behaviour_.Command2_Click(documents);
    if (!sheet) return;
    ShellExecuteW(window_, L"open", sheet->c_str(), nullptr, sheet->parent_path().c_str(),
                  SW_SHOWNORMAL);
}

void Form1Window::Command3_Click() {
    if (project_ && project_->window() != nullptr) {
        if (IsIconic(project_->window())) ShowWindow(project_->window(), SW_RESTORE);
        SetForegroundWindow(project_->window());
        return;
    }
    project_ = std::make_unique<ProjectWindow>(appDir_, nullptr);
    if (!project_->Create(instance_, SW_SHOWNORMAL)) project_.reset();
}

bool Form1Window::CloseProjectWindow() {
    if (!project_ || project_->window() == nullptr) return true;
    SendMessageW(project_->window(), WM_CLOSE, 0, 0);
    return project_->window() == nullptr;
}

void Form1Window::Label2_Click(int index) {
    if (index != 1) return;
    const std::wstring dir = appDir_.wstring();
    std::string ansiDir(dir.size() * 2 + 1, '\0');
    ansiDir.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, dir.c_str(), static_cast<int>(dir.size()), ansiDir.data(),
                            static_cast<int>(ansiDir.size()), nullptr, nullptr)));
    ShellExecuteA(window_, "Open", kPublisherWebAddress, "", ansiDir.c_str(), SW_SHOWNORMAL);
}

void Form1Window::Text1_GotFocus(int index) {
    HWND box = Text1[static_cast<std::size_t>(index)];
    const TextSelection selection = SelectionOnFocusGain(index, GetWindowTextLengthW(box));
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(selection.start),
                 selection.start + selection.length);
}

void Form1Window::Text1_LostFocus(int index) {
    HWND box = Text1[static_cast<std::size_t>(index)];
    if (const auto text = TextOnFocusLoss(index, Utf16(WindowText(box)))) {
        SetWindowTextW(box, Wide(*text).c_str());
    }
}

int Form1Window::InputBoxIndex(HWND control) const {
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        if (Text1[i] == control) return static_cast<int>(i);
    }
    return -1;
}

bool Form1Window::IsOwnControl(HWND window) const {
    return window != nullptr && GetParent(window) == window_;
}

bool Form1Window::AllowFocusMove(HWND target) {
    HWND focused = GetFocus();
    const int index = InputBoxIndex(focused);
    if (index < 0 || target == focused) return true;
    return !behaviour_.Text1_Validate(Utf16(WindowText(focused)));
}

HWND Form1Window::NextInTabOrder(HWND from, bool backwards) const {
    const auto order = TabOrder();
    const auto count = order.size();
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (controls_[PlaceOf(*order[i])] == from) at = i;
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t i = backwards ? (at + count - step) % count : (at + step) % count;
        HWND candidate = controls_[PlaceOf(*order[i])];
        if (IsWindowVisible(candidate) && IsWindowEnabled(candidate)) return candidate;
    }
    return from;
}

LRESULT Form1Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const auto place = static_cast<std::size_t>(id - kFirstControlId);
            if (id < kFirstControlId || place >= controls_.size()) break;
            const ControlDesign& design = Form1Design()[place];
            const int code = HIWORD(wParam);
            if (design.name == "Command1" && code == BN_CLICKED) Command1_Click(design.index);
            if (design.name == "Command2" && code == BN_CLICKED) Command2_Click();
            if (design.name == "Command3" && code == BN_CLICKED) Command3_Click();
            if (design.name == "Check1" && code == BN_CLICKED) Check1_Click(design.index);
            if (design.name == "Label2" && code == STN_CLICKED) Label2_Click(design.index);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            auto control = reinterpret_cast<HWND>(lParam);
            if (control == Text2) {
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            if (control == Label2[1] || control == Label2[2]) {
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (reinterpret_cast<HWND>(wParam) == Label2[1] && handCursor_ != nullptr) {
                SetCursor(handCursor_);
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && lastFocus_ != nullptr) {
                restoringFocus_ = true;
                SetFocus(lastFocus_);
                restoringFocus_ = false;
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            CreateFonts();
            Layout();
            return 0;
        }
        case kLateValidateMessage: {
            auto box = reinterpret_cast<HWND>(wParam);
            const int index = InputBoxIndex(box);
            if (index < 0) return 0;
            if (behaviour_.Text1_Validate(Utf16(WindowText(box)))) {
                restoringFocus_ = true;
                leaveApproved_ = true;
                SetFocus(box);
                leaveApproved_ = false;
                restoringFocus_ = false;
            } else {
                Text1_LostFocus(index);
            }
            return 0;
        }
        case WM_CLOSE:
            if (CloseProjectWindow() && behaviour_.QueryClose()) DestroyWindow(window_);
            return 0;
        case kUnloadMessage:
            if (CloseProjectWindow()) DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Form1Window::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR place, DWORD_PTR self) {
    return reinterpret_cast<Form1Window*>(self)->OnControlMessage(control, place, message, wParam,
                                                                  lParam);
}

LRESULT Form1Window::OnControlMessage(HWND control, std::size_t place, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    const ControlDesign& design = Form1Design()[place];
    const int box = InputBoxIndex(control);
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) == 0 &&
                (GetKeyState(VK_MENU) & 0x8000) == 0) {
                HWND next = NextInTabOrder(control, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
                if (next == control || !AllowFocusMove(next)) return 0;
                leaveApproved_ = true;
                SetFocus(next);
                leaveApproved_ = false;
                return 0;
            }
            if (wParam == VK_RETURN && design.kind == ControlKind::Button) {
                SendMessageW(control, BM_CLICK, 0, 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\t' || (wParam == L'\r' && design.kind == ControlKind::Button)) {
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            // A press on a control that takes the focus is refused while the
            // box that holds the focus is invalid: the control does not act.
            if (!TakesFocus(design) || GetFocus() == control) break;
            if (!AllowFocusMove(control)) return 0;
            leaveApproved_ = true;
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            leaveApproved_ = false;
            return result;
        }
        case WM_SETFOCUS:
            // The control to give the focus back to when the window is
            // activated again.
            lastFocus_ = control;
            if (box >= 0) {
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                if (!restoringFocus_ && IsOwnControl(reinterpret_cast<HWND>(wParam))) {
                    Text1_GotFocus(box);
                }
                return result;
            }
            break;
        case WM_KILLFOCUS:
            if (box >= 0) {
                auto target = reinterpret_cast<HWND>(wParam);
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                if (IsOwnControl(target) && target != control) {
                    if (leaveApproved_) {
                        Text1_LostFocus(box);
                    } else {
                        PostMessageW(window_, kLateValidateMessage,
                                     reinterpret_cast<WPARAM>(control), 0);
                    }
                }
                return result;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, ControlProc, place);
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace quorvel
