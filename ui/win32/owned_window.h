#pragma once
// Window procedures that hand a window's messages to the C++ object it
// belongs to, and the child controls those windows make.

#include <windows.h>

namespace quorvel {

// The window procedure of a class whose windows each belong to an `Owner`,
// passed as the creation parameter of CreateWindowExW. WM_NCCREATE stores
// the owner with the window and sets its `window_`; the messages from then
// on go to its `OnMessage(message, wParam, lParam)`, until WM_NCDESTROY, the
// window's last, which only the system handles. Owner befriends it.
template <class Owner>
LRESULT CALLBACK OwnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return owner->OnMessage(message, wParam, lParam);
}

// A visible child control of `parent` of window class `windowClass`, at a
// placeholder size until the layout places it, with `font`. id: its command
// id, -1 for none. param: the creation parameter, for a class of our own.
inline HWND CreateChildControl(HWND parent, HINSTANCE instance, const wchar_t* windowClass,
                               const wchar_t* text, DWORD style, int id, HFONT font,
                               DWORD exStyle = 0, void* param = nullptr) {
    HWND control =
        CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, param);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

}  // namespace quorvel
