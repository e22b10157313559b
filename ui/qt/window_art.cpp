#include "ui/qt/window_art.h"

#include <QtCore/QList>
#include <QtCore/QPointF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPixmap>

#include <array>

namespace quorvel {
namespace {

// The 16 colours of the classic display palette.
QList<QRgb> SixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// 'X' outline, 'o' fill, '.' transparent.
constexpr std::array<const char*, 32> kHandArt = {
    "...........XX...................", "..........XooX..................",
    "..........XooX..................", "..........XooX..................",
    "..........XooX..................", "..........XooX..................",
    "..........XooXXX................", "..........XooXooXXX.............",
    "..........XooXooXooXX...........", "..........XooXooXooXoX..........",
    "......XX..XooXooXooXooX.........", "......XoX.XooooooooXooX.........",
    "......XooXXooooooooooooX........", ".......XooXoooooooooooooX.......",
    ".......XoooooooooooooooooX......", "........XooooooooooooooooX......",
    "........XooooooooooooooooX......", ".........XoooooooooooooooX......",
    ".........XooooooooooooooX.......", "..........XoooooooooooooX.......",
    "..........XooooooooooooX........", "...........XoooooooooooX........",
    "...........XoooooooooooX........", "...........XXXXXXXXXXXXX........",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
};

}  // namespace

// A scene of the calculation: an area source on the ground, its plume and the
// buffer distance beside it, drawn on a 32-unit grid.
void PaintApplicationIcon(QPainter& painter, int size) {
    painter.scale(size / 32.0, size / 32.0);
    painter.fillRect(QRectF(0, 0, 32, 32), QColor(0, 255, 255));  // sky
    painter.fillRect(QRectF(0, 22, 32, 10), QColor(0, 128, 0));   // ground
    QPainterPath plume;
    plume.moveTo(6, 20);
    plume.cubicTo(10, 10, 20, 8, 31, 9);
    plume.lineTo(31, 15);
    plume.cubicTo(22, 15, 14, 18, 12, 21);
    plume.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawPath(plume);
    painter.setBrush(QColor(128, 0, 0));  // the area source
    painter.drawRect(QRectF(3, 19, 11, 4));
    painter.setPen(QPen(QColor(255, 255, 0), 2));  // buffer distance
    painter.drawLine(QPointF(8, 27), QPointF(29, 27));
    painter.drawLine(QPointF(29, 24), QPointF(29, 30));
}

QImage ApplicationIconImage(int size) {
    QImage canvas(size, size, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        PaintApplicationIcon(painter, size);
    }
    return canvas.convertToFormat(QImage::Format_Indexed8, SixteenColours(),
                                  Qt::ThresholdDither | Qt::AvoidDither);
}

QIcon ApplicationIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(32)));
    icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(16)));
    return icon;
}

QImage HandCursorImage() {
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char cell = kHandArt[static_cast<std::size_t>(y)][x];
            image.setPixel(x, y,
                           cell == 'X'   ? qRgba(0, 0, 0, 255)
                           : cell == 'o' ? qRgba(255, 255, 255, 255)
                                         : qRgba(0, 0, 0, 0));
        }
    }
    return image;
}

QCursor HandCursor() {
    return QCursor(QPixmap::fromImage(HandCursorImage()), kHandHotSpotX, kHandHotSpotY);
}

}  // namespace quorvel
