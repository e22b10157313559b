// Writes the application icon for the desktop's icon theme: PNG images of the
// window icon's picture at the theme's sizes and the same picture as SVG. The
// project files' icon is the same picture in the theme's "mimetypes" context.
// make_desktop_icons <theme-dir> <icon-name> [<context>]   (context: apps)
//   <theme-dir>/<n>x<n>/<context>/<icon-name>.png   for n = 16, 32, 48, 64, 128, 256
//   <theme-dir>/scalable/<context>/<icon-name>.svg

#include <QtCore/QDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtSvg/QSvgGenerator>

#include <cstdio>

#include "ui/qt/window_art.h"

namespace {

constexpr int kThemeSizes[] = {16, 32, 48, 64, 128, 256};
// The SVG's nominal size; it scales to any.
constexpr int kScalableSize = 256;

bool WritePng(const QString& themeDir, const QString& context, const QString& name, int size) {
    const QString dir = QStringLiteral("%1/%2x%2/%3").arg(themeDir).arg(size).arg(context);
    return QDir().mkpath(dir) && quorvel::ApplicationIconImage(size).save(
                                     dir + u'/' + name + QStringLiteral(".png"), "PNG");
}

bool WriteSvg(const QString& themeDir, const QString& context, const QString& name) {
    const QString dir = themeDir + QStringLiteral("/scalable/") + context;
    if (!QDir().mkpath(dir)) return false;
    QSvgGenerator svg;
    svg.setFileName(dir + u'/' + name + QStringLiteral(".svg"));
    svg.setTitle(QStringLiteral("Quorvel"));
    svg.setSize(QSize(kScalableSize, kScalableSize));
    svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    quorvel::PaintApplicationIcon(painter, kScalableSize);
    return painter.end();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_desktop_icons <theme-dir> <icon-name> [<context>]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString themeDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString context = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("apps");
    for (int size : kThemeSizes) {
        if (!WritePng(themeDir, context, name, size)) {
            std::fprintf(stderr, "cannot write the %d px icon in %s\n", size, argv[1]);
            return 1;
        }
    }
    if (!WriteSvg(themeDir, context, name)) {
        std::fprintf(stderr, "cannot write the scalable icon in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
