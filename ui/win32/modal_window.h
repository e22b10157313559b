#pragma once
// What the program's own modal windows share: placing one over its owner,
// and running its message loop with the owner disabled.

#include <windows.h>

#include <functional>

namespace quorvel {

// Moves `window` so that it is centred over `owner`, its top not above the
// owner's, and wholly inside the work area of the owner's monitor (an owner
// near the bottom of the screen, or partly off it, would otherwise leave the
// window's buttons under the task bar).
void CentreOver(HWND window, HWND owner);

// Disables `owner`, shows `window` with the focus on `focus` and runs the
// messages (the dialog keys of `window` included) until `done()` holds or the
// program is asked to quit (the quit message is posted again for the outer
// loop). The owner is enabled again before this returns, so that it is
// activated when `window` goes.
void RunModal(HWND window, HWND owner, HWND focus, const std::function<bool()>& done);

}  // namespace quorvel
