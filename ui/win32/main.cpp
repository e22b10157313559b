// Quorvel.exe: the window, run on the thread's message loop until it closes.
// With a project file as its only argument the program opens that project in
// the project window instead.

#include <windows.h>
// After windows.h, which they build on:
#include <commctrl.h>
#include <gdiplus.h>
#include <objbase.h>
#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "ui/win32/app_dir.h"
#include "ui/win32/com_launcher.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/project_window.h"

namespace {

// The project file the program was started with: its one argument.
std::optional<std::filesystem::path> ProjectArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::filesystem::path> file;
    if (arguments != nullptr && count == 2) file = std::filesystem::path(arguments[1]);
    LocalFree(arguments);
    return file;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (quorvel::ProjectWindow::TranslateKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The runner component is apartment-threaded and pumps this thread's
    // messages while the model runs.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The plan is painted with GDI+.
    ULONG_PTR gdiplus = 0;
    const Gdiplus::GdiplusStartupInput gdiplusInput;
    const bool gdiplusStarted =
        Gdiplus::GdiplusStartup(&gdiplus, &gdiplusInput, nullptr) == Gdiplus::Ok;
    int exitCode = 0;
    {
        const std::filesystem::path appDir = quorvel::ApplicationDirectory();
        if (const auto project = ProjectArgument()) {
            quorvel::ProjectWindow window(appDir, [] { PostQuitMessage(0); });
            if (!window.Create(instance, showCommand)) {
                exitCode = 1;
            } else {
                window.OpenFile(*project);
                exitCode = RunMessageLoop();
            }
        } else {
            quorvel::Form1Window window(appDir, std::make_shared<quorvel::ComLauncher>(appDir));
            exitCode = window.Create(instance, showCommand) ? RunMessageLoop() : 1;
        }
    }
    if (gdiplusStarted) Gdiplus::GdiplusShutdown(gdiplus);
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
