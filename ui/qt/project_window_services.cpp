#include "ui/qt/project_window_services.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStandardPaths>
#include <QtGui/QDesktopServices>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "ui/console/runner_launchers.h"
#include "ui/core/form1_design.h"
#include "ui/core/plan_picture_format.h"
#include "ui/core/result_drawing_export.h"

namespace quorvel {
namespace {

std::filesystem::path PathOf(const QString& text) { return {text.toStdU16String()}; }

QString Tr(const char16_t* text) { return QString::fromUtf16(text); }

std::optional<std::filesystem::path> AskPath(QWidget* parent, ProjectWindowServices::FileKind kind,
                                             const QString& suggested) {
    using Kind = ProjectWindowServices::FileKind;
    const QString projects = QStringLiteral("Quorvel项目 (*.qvproj)");
    QString chosen;
    switch (kind) {
        case Kind::OpenProject:
            chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("打开项目"), QString(),
                                                  projects);
            break;
        case Kind::SaveProject:
            chosen = QFileDialog::getSaveFileName(parent, QStringLiteral("保存项目"), suggested,
                                                  projects);
            if (!chosen.isEmpty() &&
                !chosen.endsWith(QStringLiteral(".qvproj"), Qt::CaseInsensitive))
                chosen += QStringLiteral(".qvproj");
            break;
        case Kind::Csv:
            chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("导入CSV"), QString(),
                                                  QStringLiteral("CSV文件 (*.csv)"));
            break;
        case Kind::Drawing:
            chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("导入DXF"), QString(),
                                                  QStringLiteral("DXF 图形 (*.dxf)"));
            break;
        case Kind::ExportPicture: {
            const QString svg = QStringLiteral("SVG 图形 (*.svg)");
            QString filter;
            chosen = QFileDialog::getSaveFileName(
                parent, QString::fromUtf16(kExportPlanTitle.data(), std::ssize(kExportPlanTitle)),
                suggested, QStringLiteral("PNG 图片 (*.png);;") + svg, &filter);
            if (chosen.isEmpty()) return std::nullopt;
            // A name typed without an extension takes the chosen filter's.
            return WithPlanPictureExtension(
                PathOf(chosen), filter == svg ? PlanPictureFormat::Svg : PlanPictureFormat::Png);
        }
        case Kind::ResultDrawing:
            chosen = QFileDialog::getSaveFileName(
                parent, QString::fromUtf16(kDxfExportTitle.data(), std::ssize(kDxfExportTitle)),
                suggested,
                QString::fromUtf16(kDxfExportFilter.data(), std::ssize(kDxfExportFilter)));
            if (!chosen.isEmpty() && !chosen.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive))
                chosen += QStringLiteral(".dxf");
            break;
        case Kind::PlanImage:
            chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("选择底图"), QString(),
                                                  QStringLiteral("图片 (*.png *.jpg *.jpeg)"));
            break;
        case Kind::FieldFile:
            chosen = QFileDialog::getOpenFileName(parent, Tr(kFieldFileTitle), QString(),
                                                  Tr(kFieldFileFilter));
            break;
    }
    if (chosen.isEmpty()) return std::nullopt;
    return PathOf(chosen);
}

SaveAnswer AskSave(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, Tr(kMessageTitle), question, QMessageBox::NoButton,
                    parent);
    QPushButton* save = box.addButton(Tr(kSaveButtonText), QMessageBox::AcceptRole);
    QPushButton* dontSave = box.addButton(Tr(kDontSaveButtonText), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(Tr(kCancelButtonText), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveAnswer::Save;
    if (box.clickedButton() == dontSave) return SaveAnswer::DontSave;
    return SaveAnswer::Cancel;
}

}  // namespace

ProjectWindowServices ProjectDesktopServices() {
    ProjectWindowServices services;
    services.appDir = PathOf(QCoreApplication::applicationDirPath());
    services.documentsDir =
        PathOf(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    services.makeLauncher = RunnerLauncherFactory(services.appDir);
    services.showMessage = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, Tr(kMessageTitle), text, QMessageBox::Ok, parent);
        box.exec();
    };
    services.askSave = AskSave;
    services.askPath = AskPath;
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return services;
}

}  // namespace quorvel
