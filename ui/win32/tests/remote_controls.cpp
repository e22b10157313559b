#include "ui/win32/tests/remote_controls.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace quorvel::test_support {
namespace {

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The program takes the keys from its queue in its own time.
    Sleep(300);
}

}  // namespace

HWND DialogButton(HWND box, const std::wstring& text) {
    struct Search {
        const std::wstring* text;
        HWND found = nullptr;
    } search{&text};
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t caption[64] = {};
            GetWindowTextW(child, caption, 64);
            if (*s->text == caption) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressChord(WORD modifier, WORD key) {
    Send({KeyInput(modifier, false), KeyInput(key, false), KeyInput(key, true),
          KeyInput(modifier, true)});
}

bool PutClipboardText(const std::wstring& text) {
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 50 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(20);
    if (!opened) return false;
    EmptyClipboard();
    bool put = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
            std::copy(text.begin(), text.end(), target);
            target[text.size()] = L'\0';
            GlobalUnlock(memory);
            put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!put) GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

}  // namespace quorvel::test_support
