// Quorvel.exe: the window, run on the thread's message loop until it closes.

#include <windows.h>
// After windows.h, which they build on:
#include <commctrl.h>
#include <objbase.h>

#include <filesystem>
#include <memory>

#include "ui/win32/app_dir.h"
#include "ui/win32/com_launcher.h"
#include "ui/win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The runner component is apartment-threaded and pumps this thread's
    // messages while the model runs.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    int exitCode = 0;
    {
        const std::filesystem::path appDir = quorvel::ApplicationDirectory();
        quorvel::Form1Window window(appDir, std::make_shared<quorvel::ComLauncher>(appDir));
        if (!window.Create(instance, showCommand)) {
            exitCode = 1;
        } else {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
