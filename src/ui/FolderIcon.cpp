#include "ui/FolderIcon.h"

#include <QImage>
#include <QPixmap>

namespace {

// Four colours of the classic 16-colour palette, and clear.
QRgb colourOf(char key)
{
    switch (key) {
    case '.':
        return qRgb(0x00, 0x00, 0x00);
    case 'y':
        return qRgb(0xFF, 0xFF, 0x00);
    case 'o':
        return qRgb(0x80, 0x80, 0x00);
    case 'w':
        return qRgb(0xFF, 0xFF, 0xFF);
    }
    return qRgba(0, 0, 0, 0);
}

constexpr int side = 16;

const char* const openedFolder[side] = {
    "                ", "                ", " ....           ", ".wyyw.          ",
    ".yyyyy.......   ", ".yyyyyyyyyyy.   ", ".yyyy...........", ".yyy.ooooooooo. ",
    ".yy.ooooooooo.  ", ".y.ooooooooo.   ", "..ooooooooo.    ", "...........     ",
    "                ", "                ", "                ", "                ",
};

} // namespace

QIcon openedFolderIcon()
{
    // Set pixel by pixel: Qt's picture readers would page in their code and
    // tables at start-up for one small picture.
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, colourOf(openedFolder[y][x]));
    }
    return QIcon(QPixmap::fromImage(image));
}
