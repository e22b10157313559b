#include "runner/com/child_run.h"

#include <climits>
#include <optional>
#include <vector>

namespace quorvel::tolvane {
namespace {

// Console text light grey (blue + green + red) on a blue background.
constexpr DWORD kConsoleColours =
    FOREGROUND_BLUE | FOREGROUND_GREEN | FOREGROUND_RED | BACKGROUND_BLUE;

// Dispatches what is queued now; the WM_QUIT code when one was taken.
std::optional<WPARAM> DispatchPending() {
    std::optional<WPARAM> quit;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

template <class Startup>
Startup StartupFor(StartLook look) {
    Startup startup{};
    startup.cb = sizeof startup;
    startup.dwFillAttribute = kConsoleColours;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEFILLATTRIBUTE;
    startup.wShowWindow = look.showWindow;
    return startup;
}

}  // namespace

bool StartProcess(const std::wstring& commandLine, const std::wstring& currentDir, StartLook look,
                  PROCESS_INFORMATION& started) {
    started = PROCESS_INFORMATION{};
    const std::optional<std::string> line = ToSystemCodePage(commandLine);
    const std::optional<std::string> dir = ToSystemCodePage(currentDir);
    BOOL created = FALSE;
    if (line && dir) {
        STARTUPINFOA startup = StartupFor<STARTUPINFOA>(look);
        // CreateProcessA may write into the command line, so it gets a copy.
        std::vector<char> text(line->begin(), line->end());
        text.push_back('\0');
        created =
            CreateProcessA(nullptr, text.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                           nullptr, dir->empty() ? nullptr : dir->c_str(), &startup, &started);
    } else {
        STARTUPINFOW startup = StartupFor<STARTUPINFOW>(look);
        std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
        text.push_back(L'\0');
        created = CreateProcessW(
            nullptr, text.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
            currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &started);
    }
    return created != FALSE;
}

void WaitDispatchingMessages(HANDLE process) {
    std::optional<WPARAM> quit;
    for (;;) {
        // MWMO_INPUTAVAILABLE: also wake for messages already queued but
        // not yet looked at, so none waits for the child to end.
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
        if (const auto taken = DispatchPending()) quit = taken;
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
}

std::optional<std::string> ToSystemCodePage(const std::wstring& text) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                           0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

}  // namespace quorvel::tolvane
