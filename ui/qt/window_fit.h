#pragma once
// Window sizes that fit the screen: a window opens at its preferred size, or
// smaller on a small screen (1366 x 768, or 1920 x 1080 at 125 %), leaving
// room for its frame and the task bar.

#include <QtCore/QSize>
#include <QtWidgets/QWidget>

namespace quorvel {

// The room the system's frame and task bar take around a window, logical pixels.
inline constexpr QSize kWindowFrameRoom{24, 72};

// Resizes `window` (a top-level widget, not shown yet) to `preferred`
// (logical pixels), bounded by its screen's available area less
// kWindowFrameRoom, and never below its minimum size hint.
void ResizeWithinScreen(QWidget& window, QSize preferred);

}  // namespace quorvel
