#include "ui/FolderIcon.h"

#include <QPixmap>

namespace {

// 16 colours of the classic palette are enough; four are used.
const char* const openedFolder[] = {
    "16 16 5 1",        "  c None",         ". c #000000",      "y c #FFFF00",
    "o c #808000",      "w c #FFFFFF",      "                ", "                ",
    " ....           ", ".wyyw.          ", ".yyyyy.......   ", ".yyyyyyyyyyy.   ",
    ".yyyy...........", ".yyy.ooooooooo. ", ".yy.ooooooooo.  ", ".y.ooooooooo.   ",
    "..ooooooooo.    ", "...........     ", "                ", "                ",
    "                ", "                ",
};

} // namespace

QIcon openedFolderIcon()
{
    return QIcon(QPixmap(openedFolder));
}
