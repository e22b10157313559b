#include "ui/win32/modal_window.h"

#include <algorithm>

namespace quorvel {

void CentreOver(HWND window, HWND owner) {
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr,
                 (ownerRect.left + ownerRect.right - (frame.right - frame.left)) / 2,
                 std::max(ownerRect.top,
                          (ownerRect.top + ownerRect.bottom - (frame.bottom - frame.top)) / 2),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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
