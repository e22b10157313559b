#pragma once
// The program's one project window: made on first use, brought to the front
// when it is open already.

#include <QtCore/QPointer>

#include <filesystem>

#include "ui/qt/project_window.h"

namespace quorvel {

class ProjectWindowHost {
  public:
    // Shows the project window; with `file`, opens that project in it
    // (asking first about unsaved changes of the one open).
    ProjectWindow* show(const std::filesystem::path& file = {});
    ProjectWindow* window() const { return window_; }

  private:
    QPointer<ProjectWindow> window_;
};

}  // namespace quorvel
