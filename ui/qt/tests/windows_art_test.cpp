// The icon and hand pointer that the Windows build embeds are the Qt window's
// pictures, in the resource files' layout.

#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtTest/QTest>

#include "ui/qt/window_art.h"
#include "ui/qt/windows_art_files.h"

using namespace quorvel;

class WindowsArtTest : public QObject {
    Q_OBJECT

    static QByteArray Read(const char* name) {
        QFile file(QStringLiteral(QUORVEL_WIN32_DIR "/") + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll();
    }

  private slots:
    void committedFilesMatchThePictures() {
        QCOMPARE(Read("quorvel.ico"), WindowsIconFile());
        QCOMPARE(Read("hand.cur"), WindowsCursorFile());
    }

    void iconFileHoldsBothSixteenColourImages() {
        const QByteArray icon = WindowsIconFile();
        QCOMPARE(icon.mid(0, 6), QByteArray("\0\0\1\0\2\0", 6));
        // Qt reads the file back as the same two pictures.
        QImage big;
        QVERIFY(big.loadFromData(icon, "ICO"));
        QCOMPARE(big.size(), QSize(32, 32));
        const QImage drawn = ApplicationIconImage(32).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(big.convertToFormat(QImage::Format_RGB32), drawn);
    }

    void cursorFileCarriesTheHotSpot() {
        const QByteArray cursor = WindowsCursorFile();
        QCOMPARE(static_cast<int>(cursor[2]), 2);  // a cursor
        QCOMPARE(static_cast<int>(cursor[6 + 4]), kHandHotSpotX);
        QCOMPARE(static_cast<int>(cursor[6 + 6]), kHandHotSpotY);
    }
};

QTEST_MAIN(WindowsArtTest)
#include "windows_art_test.moc"
