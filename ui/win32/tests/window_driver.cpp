#include "ui/win32/tests/window_driver.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "ui/core/form1_design.h"
#include "ui/win32/control_ids.h"

namespace quorvel::test_support {
namespace {

namespace fs = std::filesystem;

template <class Condition>
bool WaitUntil(Condition condition, double seconds) {
    return RunningWindow::WaitUntil(condition, seconds);
}

fs::path ModuleDirectory() {
    std::wstring file(4096, L'\0');
    file.resize(GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size())));
    return fs::path(file).parent_path();
}

struct WindowSearch {
    DWORD process;
    const wchar_t* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (process == search->process && IsWindowVisible(window) &&
        std::wstring_view(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD process, const wchar_t* className) {
    WindowSearch search{process, className};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SendKeys(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

AppDirCopy::AppDirCopy(const fs::path& appDir) {
    // An installed program is tested where it is installed.
    if (const wchar_t* installed = _wgetenv(L"QUORVEL_TEST_APP_DIR"); installed && *installed) {
        path_ = installed;
        inPlace_ = true;
        return;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = fs::path(temp) / (L"quorvel-window-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64()));
    fs::create_directories(path_);
    for (const auto& entry : fs::directory_iterator(appDir)) {
        if (entry.is_regular_file()) fs::copy_file(entry.path(), path_ / entry.path().filename());
    }
}

AppDirCopy::~AppDirCopy() {
    if (inPlace_) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path BuiltAppDir() { return ModuleDirectory().parent_path() / "bin"; }

fs::path TestProgramDir() { return ModuleDirectory(); }

fs::path DocsDir() { return BuiltAppDir().parent_path().parent_path() / "docs"; }

std::string FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

RunningWindow::RunningWindow(const fs::path& program)
    : RunningWindow(program, std::wstring(), kForm1ClassName) {}

HWND RunningWindow::FindWindowOfClass(const wchar_t* className) const {
    return FindWindowOf(process_.dwProcessId, className);
}

RunningWindow::RunningWindow(const fs::path& program, const std::wstring& argument,
                             const wchar_t* className) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!argument.empty()) commandLine += L" \"" + argument + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring directory = program.parent_path().wstring();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_)) {
        return;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    WaitUntil([&] { return (window_ = FindWindowOf(process_.dwProcessId, className)) != nullptr; },
              20);
    Foreground();
}

RunningWindow::~RunningWindow() {
    if (process_.hProcess == nullptr) return;
    if (HWND box = MessageBoxWindow()) PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void RunningWindow::Foreground() const {
    if (window_ == nullptr) return;
    SetForegroundWindow(window_);
    WaitUntil([&] { return GetForegroundWindow() == window_; }, 5);
}

HWND RunningWindow::Control(std::string_view name, int index) const {
    return GetDlgItem(window_, ControlId(Design(name, index)));
}

std::wstring RunningWindow::Text(HWND control) const {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

void RunningWindow::SetText(HWND control, std::wstring_view text) const {
    const std::wstring copy(text);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

HWND RunningWindow::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

std::string RunningWindow::FocusName() const {
    // Without a window manager Wine does not always give the activation back
    // to the window after a message box; a person would click it.
    Foreground();
    HWND focus = Focus();
    for (const ControlDesign& control : Form1Design()) {
        if (Control(control.name, control.index) == focus) return ControlName(control);
    }
    return {};
}

void RunningWindow::Click(HWND control) const {
    RECT rect{};
    GetClientRect(control, &rect);
    ClickAt(control, {rect.right / 2, rect.bottom / 2});
}

void RunningWindow::ClickAt(HWND control, POINT at) const {
    Foreground();
    ClientToScreen(control, &at);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dx = at.x * 65535 / (screenWidth - 1);
    inputs[0].mi.dy = at.y * 65535 / (screenHeight - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

void RunningWindow::PressTab(bool shift) const {
    Foreground();
    if (shift) {
        SendKeys(
            {Key(VK_SHIFT, false), Key(VK_TAB, false), Key(VK_TAB, true), Key(VK_SHIFT, true)});
    } else {
        SendKeys({Key(VK_TAB, false), Key(VK_TAB, true)});
    }
}

HWND RunningWindow::MessageBoxWindow() const {
    return FindWindowOf(process_.dwProcessId, L"#32770");
}

std::optional<std::wstring> RunningWindow::WaitForMessage(double seconds) const {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = MessageBoxWindow()) != nullptr; }, seconds)) {
        return std::nullopt;
    }
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (std::wstring_view(className) == L"Static" && !icon) {
            if (std::wstring part = Text(child); !part.empty()) text = part;
        }
    }
    return text;
}

void RunningWindow::CloseMessage() const {
    HWND box = MessageBoxWindow();
    if (box == nullptr) return;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return MessageBoxWindow() == nullptr; }, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

bool RunningWindow::WaitForText(HWND control, std::wstring_view text, double seconds) const {
    return WaitUntil([&] { return Text(control) == text; }, seconds);
}

bool RunningWindow::WaitForExit(double seconds) const {
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds * 1000)) ==
           WAIT_OBJECT_0;
}

}  // namespace quorvel::test_support
