#include <QtCore/QFileInfo>
#include <QtWidgets/QApplication>

#include <memory>

#include "ui/qt/desktop_services.h"
#include "ui/qt/form1.h"
#include "ui/qt/project_window_host.h"
#include "ui/qt/window_art.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    // Ties the window to its menu entry on desktops that match by desktop file.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quorvel.Quorvel"));
    QApplication::setWindowIcon(quorvel::ApplicationIcon());
    quorvel::ProjectWindowHost projects;
    const QStringList arguments = QApplication::arguments();
    // `quorvel file.qvproj` opens that project in the project window.
    if (arguments.size() == 2) {
        const QString file = QFileInfo(arguments[1]).absoluteFilePath();
        projects.show(std::filesystem::path(file.toStdU16String()));
        return QApplication::exec();
    }
    quorvel::WindowServices services = quorvel::DesktopServices();
    services.openProjectWindow = [&projects] { projects.show(); };
    quorvel::Form1 window(std::move(services));
    window.show();
    const int status = QApplication::exec();
    return status;
}
