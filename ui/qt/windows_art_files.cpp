#include "ui/qt/windows_art_files.h"

#include <QtGui/QImage>

#include <vector>

#include "ui/qt/window_art.h"

namespace quorvel {
namespace {

void Put16(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(QByteArray& out, qint64 value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

// Rows of a device-independent bitmap are padded to 4 bytes.
int RowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// One image of an icon or cursor file: header, palette, colour bits and the
// transparency mask, rows bottom-up. index(x, y) gives a palette index;
// transparent(x, y) marks pixels that show what lies behind.
template <class Index, class Transparent>
QByteArray ImageEntry(int size, int bitsPerPixel, const QList<QRgb>& palette, Index index,
                      Transparent transparent) {
    QByteArray image;
    Put32(image, 40);
    Put32(image, size);
    Put32(image, size * 2);  // colour bits and mask
    Put16(image, 1);
    Put16(image, bitsPerPixel);
    Put32(image, 0);
    const int colourRow = RowBytes(size, bitsPerPixel);
    const int maskRow = RowBytes(size, 1);
    Put32(image, (colourRow + maskRow) * size);
    for (int i = 0; i < 4; ++i) Put32(image, 0);
    for (QRgb colour : palette) {
        image.append(static_cast<char>(qBlue(colour)));
        image.append(static_cast<char>(qGreen(colour)));
        image.append(static_cast<char>(qRed(colour)));
        image.append('\0');
    }
    const int perByte = 8 / bitsPerPixel;
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(colourRow, '\0');
        for (int x = 0; x < size; ++x) {
            const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;
            row[x / perByte] = static_cast<char>(row[x / perByte] | (index(x, y) << shift));
        }
        image.append(row);
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < size; ++x) {
            if (transparent(x, y)) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        image.append(row);
    }
    return image;
}

struct Entry {
    int size;
    int colours;
    int field1;  // planes (icon) or hot spot x (cursor)
    int field2;  // bits per pixel (icon) or hot spot y (cursor)
    QByteArray image;
};

// type 1: icon, 2: cursor.
QByteArray ResourceFile(int type, const std::vector<Entry>& entries) {
    QByteArray file;
    Put16(file, 0);
    Put16(file, type);
    Put16(file, static_cast<int>(entries.size()));
    qint64 offset = 6 + 16 * static_cast<qint64>(entries.size());
    for (const Entry& entry : entries) {
        file.append(static_cast<char>(entry.size));
        file.append(static_cast<char>(entry.size));
        file.append(static_cast<char>(entry.colours));
        file.append('\0');
        Put16(file, entry.field1);
        Put16(file, entry.field2);
        Put32(file, entry.image.size());
        Put32(file, offset);
        offset += entry.image.size();
    }
    for (const Entry& entry : entries) file.append(entry.image);
    return file;
}

}  // namespace

QByteArray WindowsIconFile() {
    std::vector<Entry> entries;
    for (int size : {32, 16}) {
        const QImage picture = ApplicationIconImage(size);
        QList<QRgb> palette = picture.colorTable();
        palette.resize(16, qRgb(0, 0, 0));
        entries.push_back(
            {size, 16, 1, 4,
             ImageEntry(
                 size, 4, palette, [&](int x, int y) { return picture.pixelIndex(x, y); },
                 [](int, int) { return false; })});
    }
    return ResourceFile(1, entries);
}

QByteArray WindowsCursorFile() {
    const QImage hand = HandCursorImage();
    const QList<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const auto white = [&](int x, int y) {
        return qAlpha(hand.pixel(x, y)) != 0 && qRed(hand.pixel(x, y)) != 0;
    };
    const auto clear = [&](int x, int y) { return qAlpha(hand.pixel(x, y)) == 0; };
    return ResourceFile(
        2, {{32, 2, kHandHotSpotX, kHandHotSpotY,
             ImageEntry(
                 32, 1, palette, [&](int x, int y) { return white(x, y) ? 1 : 0; }, clear)}});
}

}  // namespace quorvel
