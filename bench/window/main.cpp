#include "app/ProgramFont.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>

// Between the floor and the program: the main window with all its
// controls, as the program makes it, and nothing else: no files read, no
// other window. What it costs beyond the floor is the controls' own cost.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
#ifndef _WIN32
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
    QApplication::setFont(programFont());
    QtDialogs dialogs;
    TForm1 window(dialogs, QDir::tempPath() + QLatin1Char('/'));
    window.show();
    return QApplication::exec();
}
