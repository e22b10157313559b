#include "ui/qt/project_window_host.h"

#include "ui/qt/project_window_services.h"

namespace quorvel {

ProjectWindow* ProjectWindowHost::show(const std::filesystem::path& file) {
    if (window_ == nullptr) {
        window_ = new ProjectWindow(ProjectDesktopServices());
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (!file.empty()) window_->openFileAsking(file);
    return window_;
}

}  // namespace quorvel
