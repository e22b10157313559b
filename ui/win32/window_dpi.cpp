#include "ui/win32/window_dpi.h"

#include <algorithm>

namespace quorvel {
namespace {

template <class Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, 0, dpi)) {
        AdjustWindowRectEx(&rect, style, FALSE, 0);
    }
}

void FitInWorkArea(RECT& frame, HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const LONG width = std::min(frame.right - frame.left, work.right - work.left);
    const LONG height = std::min(frame.bottom - frame.top, work.bottom - work.top);
    frame.left = std::clamp(frame.left, work.left, work.right - width);
    frame.top = std::clamp(frame.top, work.top, work.bottom - height);
    frame.right = frame.left + width;
    frame.bottom = frame.top + height;
}

}  // namespace quorvel
