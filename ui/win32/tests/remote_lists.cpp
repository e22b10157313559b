#include "ui/win32/tests/remote_lists.h"

// After windows.h, which it builds on:
#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace quorvel::test_support {

std::wstring CellText(HANDLE process, HWND list, int row, int column) {
    constexpr std::size_t kChars = 1024;
    const std::size_t bytes = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return L"<no memory>";
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kChars);
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(remote));
    std::wstring text(kChars, L'\0');
    ReadProcessMemory(process, remote + sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t),
                      nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    return text;
}

namespace {

// The rectangle `control` writes for `message` with `index`, read through
// memory of its process; empty when the message fails.
RECT RemoteRect(HANDLE process, HWND control, UINT message, int index) {
    RECT rect{};
    auto* remote = static_cast<RECT*>(
        VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return rect;
    if (SendMessageW(control, message, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(remote)))
        ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rect;
}

}  // namespace

RECT TabRect(HANDLE process, HWND tabs, int index) {
    return RemoteRect(process, tabs, TCM_GETITEMRECT, index);
}

RECT StatusPartRect(HANDLE process, HWND bar, int part) {
    return RemoteRect(process, bar, SB_GETRECT, part);
}

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(300);
}

}  // namespace quorvel::test_support
