#include "runner/com/child_run.h"

#include <algorithm>
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

// The caller's standard handles that a child can inherit, each once.
std::vector<HANDLE> InheritableStandardHandles() {
    std::vector<HANDLE> handles;
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(which);
        DWORD flags = 0;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE) continue;
        if (!GetHandleInformation(handle, &flags) || (flags & HANDLE_FLAG_INHERIT) == 0) continue;
        if (std::find(handles.begin(), handles.end(), handle) != handles.end()) continue;
        handles.push_back(handle);
    }
    return handles;
}

// What a child inherits: the caller's standard handles and nothing else.
// Without the list a child would also take every other inheritable handle
// open at that moment, such as a file another thread is writing, and hold
// it for as long as it runs, so that the file could not be deleted or
// replaced.
class InheritedHandles {
  public:
    InheritedHandles() : handles_(InheritableStandardHandles()) {
        if (handles_.empty()) return;
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                       handles_.size() * sizeof(HANDLE), nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list);
            return;
        }
        list_ = list;
    }
    ~InheritedHandles() {
        if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    // Whether the child inherits anything at all.
    BOOL inherit() const { return handles_.empty() ? FALSE : TRUE; }
    // The attribute list naming the handles; null when it could not be made,
    // and the child then inherits every inheritable handle.
    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }
    DWORD creationFlags() const {
        return NORMAL_PRIORITY_CLASS | (list_ != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0);
    }

  private:
    std::vector<HANDLE> handles_;
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

template <class StartupEx>
StartupEx ExtendedStartupFor(StartLook look, const InheritedHandles& inherited) {
    StartupEx startup{};
    startup.StartupInfo = StartupFor<decltype(startup.StartupInfo)>(look);
    if (inherited.list() != nullptr) startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = inherited.list();
    return startup;
}

}  // namespace

bool StartProcess(const std::wstring& commandLine, const std::wstring& currentDir, StartLook look,
                  PROCESS_INFORMATION& started) {
    started = PROCESS_INFORMATION{};
    const std::optional<std::string> line = ToSystemCodePage(commandLine);
    const std::optional<std::string> dir = ToSystemCodePage(currentDir);
    const InheritedHandles inherited;
    BOOL created = FALSE;
    if (line && dir) {
        STARTUPINFOEXA startup = ExtendedStartupFor<STARTUPINFOEXA>(look, inherited);
        // CreateProcessA may write into the command line, so it gets a copy.
        std::vector<char> text(line->begin(), line->end());
        text.push_back('\0');
        created = CreateProcessA(
            nullptr, text.data(), nullptr, nullptr, inherited.inherit(), inherited.creationFlags(),
            nullptr, dir->empty() ? nullptr : dir->c_str(), &startup.StartupInfo, &started);
    } else {
        STARTUPINFOEXW startup = ExtendedStartupFor<STARTUPINFOEXW>(look, inherited);
        std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
        text.push_back(L'\0');
        created = CreateProcessW(nullptr, text.data(), nullptr, nullptr, inherited.inherit(),
                                 inherited.creationFlags(), nullptr,
                                 currentDir.empty() ? nullptr : currentDir.c_str(),
                                 &startup.StartupInfo, &started);
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
