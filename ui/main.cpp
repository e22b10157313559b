#include <QtWidgets/QApplication>

#include "ui/desktop_services.h"
#include "ui/form1.h"
#include "ui/window_art.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    // Ties the window to its menu entry on desktops that match by desktop file.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quorvel.Quorvel"));
    QApplication::setWindowIcon(quorvel::ApplicationIcon());
    quorvel::Form1 window(quorvel::DesktopServices());
    window.show();
    return QApplication::exec();
}
