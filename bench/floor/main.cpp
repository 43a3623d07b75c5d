#include "app/ProgramFont.h"

#include <QApplication>
#include <QLabel>

// The floor of the start-up and memory figures: what any Qt Widgets program
// pays to show one line of text in a frameless window of the main window's
// size, in the program's font and the platform's default style.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setFont(programFont());
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(393, 497);
    QLabel label(QStringLiteral("Brushwright"), &window);
    window.show();
    return QApplication::exec();
}
