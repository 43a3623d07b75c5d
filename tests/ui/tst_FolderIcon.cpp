// The map button's picture, set pixel by pixel, is the picture as Qt's XPM
// reader reads it.
#include "ui/FolderIcon.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

class tst_FolderIcon : public QObject {
    Q_OBJECT

private slots:
    void samePixelsAsTheXpm();
};

void tst_FolderIcon::samePixelsAsTheXpm()
{
    const char* const xpm[] = {
        "16 16 5 1",        "  c None",         ". c #000000",      "y c #FFFF00",
        "o c #808000",      "w c #FFFFFF",      "                ", "                ",
        " ....           ", ".wyyw.          ", ".yyyyy.......   ", ".yyyyyyyyyyy.   ",
        ".yyyy...........", ".yyy.ooooooooo. ", ".yy.ooooooooo.  ", ".y.ooooooooo.   ",
        "..ooooooooo.    ", "...........     ", "                ", "                ",
        "                ", "                ",
    };
    const QImage expected = QImage(xpm).convertToFormat(QImage::Format_ARGB32);
    const QImage actual =
        openedFolderIcon().pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(actual.size(), QSize(16, 16));
    QCOMPARE(actual, expected);
}

QTEST_MAIN(tst_FolderIcon)
#include "tst_FolderIcon.moc"
