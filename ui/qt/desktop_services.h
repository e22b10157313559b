#pragma once

#include "ui/qt/form1.h"

namespace quorvel {

// The services of the real program: the program's directory, message boxes
// with one OK button and no icon, the desktop's handlers for documents and web
// addresses, and the runner component for the model.
WindowServices DesktopServices();

}  // namespace quorvel
