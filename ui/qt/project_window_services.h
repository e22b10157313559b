#pragma once

#include "ui/qt/project_window.h"

namespace quorvel {

// The project window's services in the real program: the program's
// directory, the runner component beside it, the documents folder, and the
// desktop's dialogs and browser.
ProjectWindowServices ProjectDesktopServices();

}  // namespace quorvel
