#include "app/Program.h"

#include "app/ProgramFont.h"
#include "cli/CommandLine.h"
#include "platform/Console.h"
#include "platform/FirstStart.h"
#include "report/ReportFile.h"
#include "ui/HandlerGuard.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"
#include "ui/ViewLibrary.h"

#include <QApplication>
#include <QStyleFactory>

namespace {

// --report: the map report on the command line, with no window and no GUI
// platform loaded, so it runs where there is no display.
int runReport(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(programTitle);
    platform::attachParentConsole();
    const QString iniPath = platform::settingsPlace().folder + QStringLiteral("brushwright.ini");
    const report::CommandResult result =
        report::runReportCommand(QCoreApplication::arguments(), iniPath);
    platform::writeStandardOutput(result.out);
    platform::writeStandardError(result.err);
    return result.exitCode;
}

// --help and --version print as command-line programs do, with no window.
int printAndExit(int argc, char* argv[], const QString& text)
{
    QCoreApplication application(argc, argv);
    platform::attachParentConsole();
    platform::writeStandardOutput(text);
    return 0;
}

// --view: the compiled map in 3D, alone. The view's library, and Qt's
// OpenGL libraries with it, are loaded for it.
int runView(int argc, char* argv[])
{
#ifndef _WIN32
    // Without a display Qt would abort with its own message; a script that
    // asked for a picture gets a usage error it can act on.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QCoreApplication application(argc, argv);
        platform::writeStandardError(
            QStringLiteral("brushwright: --view needs a display; where there is none, run it "
                           "under xvfb-run: xvfb-run brushwright --view ...\n"));
        return 2;
    }
#endif
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(programTitle);
#ifndef _WIN32
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
    QApplication::setFont(programFont());
    platform::attachParentConsole();
    try {
        return viewlibrary::runCommand(QApplication::arguments());
    } catch (const Failure& failure) {
        platform::writeStandardError(QStringLiteral("brushwright: %1\n").arg(failure.text()));
        return 2;
    }
}

} // namespace

int runProgram(int argc, char* argv[])
{
    // Before any QApplication: that one would load a GUI platform.
    switch (cli::commandOf(argc, argv)) {
    case cli::Command::Help:
        return printAndExit(argc, argv, cli::helpText());
    case cli::Command::Version:
        return printAndExit(argc, argv, cli::versionText());
    case cli::Command::Report:
        return runReport(argc, argv);
    case cli::Command::Compile:
        return cli::runCompileCommand(argc, argv);
    case cli::Command::View:
        return runView(argc, argv);
    case cli::Command::Window:
        break;
    }
    QApplication application(argc, argv);
    // No organization: the user's settings folder is exactly
    // ~/.config/Brushwright (%LOCALAPPDATA%\Brushwright on Windows).
    QApplication::setOrganizationName(QString());
    QApplication::setApplicationName(programTitle);
#ifndef _WIN32
    // The classic look everywhere the native one is not Windows' own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#endif
    QApplication::setFont(programFont());
    // AutoCompile hides the main window while its prompt is up, so the last
    // visible window may close without the program ending: only the end
    // request ends it, which closing the main window makes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    const QStringList arguments = QApplication::arguments();
    const QString firstArgument = arguments.size() > 1 ? arguments.at(1) : QString();

    const platform::SettingsPlace place = platform::settingsPlace();
    TForm1 form1(dialogs, place.folder);
    // Before the event loop runs this does nothing; start-up's request is
    // acted on below.
    QObject::connect(&form1, &TForm1::endRequested, &application,
                     [] { QCoreApplication::exit(0); });
    // A copy that fails stops start-up there, as a failing step of it does.
    if (runHandler(dialogs, [&place] { platform::fillSettingsFolder(place); }))
        form1.FormCreate(firstArgument);
    form1.makeWindowsOnUse();

    // An end request made during start-up ends the program as soon as the
    // event loop runs.
    if (form1.isEndRequested())
        return 0;
    form1.show();
    return QApplication::exec();
}
