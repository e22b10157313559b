#pragma once
// The resolution a window is shown at, on every Windows version: the
// per-monitor functions where the system has them (Windows 10 1607 and
// later), the screen's resolution before that.

#include <windows.h>

namespace quorvel {

// Dots per inch of the monitor `window` is on.
UINT WindowDpi(HWND window);

// The window rectangle for a client rectangle at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);
// `frame` (a window rectangle, screen pixels) made no larger than the work
// area of the monitor `window` is on and moved inside it, so that no part of
// the window lies off the screen or under the task bar.
void FitInWorkArea(RECT& frame, HWND window);

}  // namespace quorvel
