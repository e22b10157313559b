#pragma once
// The images the window is drawn with: its icon and the pointing hand shown
// over the publisher link.

#include <QtGui/QCursor>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QPainter>

namespace quorvel {

// Paints the application icon's picture into the square 0..size (in the
// painter's units): the same picture on any paint device.
void PaintApplicationIcon(QPainter& painter, int size);

// The application icon as a 16-colour image of size x size pixels.
QImage ApplicationIconImage(int size);

// The icon with its 32 x 32 and 16 x 16 images.
QIcon ApplicationIcon();

// The 32 x 32 pointing hand, black outline on white, hot spot at the tip of
// the finger (12, 1).
QImage HandCursorImage();
QCursor HandCursor();

inline constexpr int kHandHotSpotX = 12;
inline constexpr int kHandHotSpotY = 1;

}  // namespace quorvel
