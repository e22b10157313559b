#include "ui/qt/window_fit.h"

#include <QtGui/QScreen>

namespace quorvel {

void ResizeWithinScreen(QWidget& window, QSize preferred) {
    QSize size = preferred;
    if (const QScreen* screen = window.screen())
        size = size.boundedTo(screen->availableGeometry().size() - kWindowFrameRoom);
    window.resize(size.expandedTo(window.minimumSizeHint()));
}

}  // namespace quorvel
