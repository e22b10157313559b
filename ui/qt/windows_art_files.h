#pragma once
// The window's icon and hand pointer as Windows resource files (.ico, .cur),
// made from the same pictures as the Qt window's. The Windows build embeds
// the files written by make_windows_art; a test keeps them equal to these.

#include <QtCore/QByteArray>

namespace quorvel {

// An icon file with the 32 x 32 and 16 x 16 images, 16 colours each.
QByteArray WindowsIconFile();

// A cursor file with the 32 x 32 monochrome hand, hot spot (12, 1).
QByteArray WindowsCursorFile();

}  // namespace quorvel
