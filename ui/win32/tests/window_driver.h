#pragma once
// Drives a running Quorvel.exe from another process the way a person does:
// keys and clicks through the system's input, texts and states read through
// window messages. Everything waits with a time limit and fails the test
// rather than hanging.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::test_support {

// A copy of the application directory in a fresh temporary folder, removed
// with the object; or, when QUORVEL_TEST_APP_DIR names a directory, that
// directory itself, left as it is.
class AppDirCopy {
  public:
    explicit AppDirCopy(const std::filesystem::path& appDir);
    ~AppDirCopy();
    AppDirCopy(const AppDirCopy&) = delete;
    AppDirCopy& operator=(const AppDirCopy&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool inPlace_ = false;
};

// The application directory the tests run: bin beside the tests' folder.
std::filesystem::path BuiltAppDir();
// The folder of the test programs.
std::filesystem::path TestProgramDir();
// The documentation folder of the source tree the program was built in: the
// example project, its pictures and drawings.
std::filesystem::path DocsDir();
// The whole of `file` as bytes; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& file);

class RunningWindow {
  public:
    // Starts `program` and waits for its main window; check window() != nullptr.
    explicit RunningWindow(const std::filesystem::path& program);
    // Starts `program` with one argument and waits for its window of `className`.
    RunningWindow(const std::filesystem::path& program, const std::wstring& argument,
                  const wchar_t* className);
    // Closes the window (ends the program if it does not close).
    ~RunningWindow();
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }
    HWND Control(std::string_view name, int index = -1) const;
    std::wstring Text(HWND control) const;
    void SetText(HWND control, std::wstring_view text) const;
    HWND Focus() const;
    // The focused control's design name ("Text1_0"), or "" for none of ours.
    std::string FocusName() const;

    // A left click in the middle of the control, through the system's input.
    void Click(HWND control) const;
    // A left click at `at`, in the control's client pixels.
    void ClickAt(HWND control, POINT at) const;
    // Tab, or Shift+Tab, through the system's input.
    void PressTab(bool shift = false) const;

    // The text of the message box the program shows, once it is up within
    // `seconds`; nullopt if none appears.
    std::optional<std::wstring> WaitForMessage(double seconds) const;
    // The message box that is up: its title, its one button and no icon.
    HWND MessageBoxWindow() const;
    void CloseMessage() const;

    // Waits until `condition()` holds, polling; false after `seconds`.
    template <class Condition>
    static bool WaitUntil(Condition condition, double seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            Sleep(50);
        }
        return true;
    }

    // Waits until the control's text is `text`.
    bool WaitForText(HWND control, std::wstring_view text, double seconds) const;
    // Waits until the program has ended.
    bool WaitForExit(double seconds) const;

    // The process's window of `className` that is up, or null.
    HWND FindWindowOfClass(const wchar_t* className) const;

  private:
    void Foreground() const;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace quorvel::test_support
