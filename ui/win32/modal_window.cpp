#include "ui/win32/modal_window.h"

#include <algorithm>

#include "ui/win32/window_dpi.h"

namespace quorvel {

void CentreOver(HWND window, HWND owner) {
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    RECT frame{};
    GetWindowRect(window, &frame);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    frame.left = (ownerRect.left + ownerRect.right - width) / 2;
    frame.top = std::max(ownerRect.top, (ownerRect.top + ownerRect.bottom - height) / 2);
    frame.right = frame.left + width;
    frame.bottom = frame.top + height;
    FitInWorkArea(frame, owner);
    SetWindowPos(window, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER);
}

void RunModal(HWND window, HWND owner, HWND focus, const std::function<bool()>& done) {
    EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetFocus(focus);
    MSG message;
    while (!done()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    EnableWindow(owner, TRUE);
}

}  // namespace quorvel
