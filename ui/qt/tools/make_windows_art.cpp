// Writes the window's icon and hand pointer as Windows resource files:
// make_windows_art <icon.ico> <pointer.cur>

#include <QtCore/QFile>
#include <QtGui/QGuiApplication>

#include <cstdio>

#include "ui/qt/windows_art_files.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_windows_art <icon.ico> <pointer.cur>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QByteArray contents[] = {quorvel::WindowsIconFile(), quorvel::WindowsCursorFile()};
    for (int i = 0; i < 2; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i + 1]));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents[i]) != contents[i].size()) {
            std::fprintf(stderr, "cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
