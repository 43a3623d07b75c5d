#include "app/Program.h"

#include "app/ProgramFont.h"
#include "platform/Platform.h"
#include "ui/HandlerGuard.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"

#include <QApplication>
#include <QStyleFactory>

int runProgram(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(programTitle);
#ifndef _WIN32
    // The classic look everywhere the native one is not Windows' own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
    QApplication::setFont(programFont());

    QtDialogs dialogs;
    const QStringList arguments = QApplication::arguments();
    const QString firstArgument = arguments.size() > 1 ? arguments.at(1) : QString();

    TForm1 form1(dialogs, platform::programFolder());
    // Before the event loop runs this does nothing; start-up's request is
    // acted on below.
    QObject::connect(&form1, &TForm1::endRequested, &application,
                     [] { QCoreApplication::exit(0); });
    form1.FormCreate(firstArgument);
    TForm2 form2;
    form1.setVerifyWindow(&form2);
    TForm3 form3;
    form1.setAboutWindow(&form3);

    // An end request made during start-up ends the program as soon as the
    // event loop runs.
    if (form1.isEndRequested())
        return 0;
    form1.show();
    return QApplication::exec();
}
