#include "ui/qt/desktop_services.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStandardPaths>
#include <QtGui/QDesktopServices>
#include <QtGui/QIcon>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QMessageBox>

#include <memory>

#include "ui/qt/tolvane_launcher.h"

namespace quorvel {

WindowServices DesktopServices() {
    WindowServices services;
    services.appDir = QCoreApplication::applicationDirPath();
    services.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(kMessageTitle), text,
                        QMessageBox::Ok, parent);
        // Some desktop styles put an icon on the OK button; the box shows none.
        if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setIcon(QIcon());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    };
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    services.documentsDir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    services.launcher = std::make_shared<TolvaneLauncher>(services.appDir);
    return services;
}

}  // namespace quorvel
