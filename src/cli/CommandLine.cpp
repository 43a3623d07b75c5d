#include "cli/CommandLine.h"

#include "cli/CompileFront.h"
#include "cli/CompileJobs.h"
#include "platform/Console.h"
#include "platform/Failure.h"
#include "platform/FirstStart.h"
#include "platform/InterruptNotifier.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstring>

namespace cli {

namespace {

const char* const compileUsage =
    "Usage: brushwright --compile MAP... [--suite id|q2tools|ericw]\n"
    "                   [--engine vanilla|yamagi|q2pro|rerelease] [--json] [--full]\n";

int usageError(const QString& what)
{
    platform::writeStandardError(QStringLiteral("brushwright: %1\n").arg(what) +
                                 QLatin1String(compileUsage) +
                                 QStringLiteral("brushwright --help tells more.\n"));
    return 2;
}

} // namespace

Command commandOf(int argc, char* argv[])
{
    // The first of these wins, wherever it stands.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return Command::Help;
        if (std::strcmp(argv[i], "--version") == 0)
            return Command::Version;
        if (std::strcmp(argv[i], "--report") == 0)
            return Command::Report;
        if (std::strcmp(argv[i], "--compile") == 0)
            return Command::Compile;
        if (std::strcmp(argv[i], "--view") == 0)
            return Command::View;
    }
    return Command::Window;
}

QString helpText()
{
    return QStringLiteral(
        "Brushwright: sets the Quake II map compilers' switches and runs them.\n"
        "\n"
        "Usage:\n"
        "  brushwright [MAP]\n"
        "      The main window. MAP is the map's name (base1) in the game's maps folder;\n"
        "      without it, the program asks for the map file.\n"
        "  brushwright --compile MAP... [--suite id|q2tools|ericw]\n"
        "                   [--engine vanilla|yamagi|q2pro|rerelease] [--json] [--full]\n"
        "      Compiles each .map (in <game>/baseq2/maps or <game>/<mod>/maps) one after\n"
        "      another, as the compile window does, with no window: the switches of the\n"
        "      last used option set, the settings of brushwright.ini (the compile always\n"
        "      runs here, whatever its compile way). A failed map does not stop the next.\n"
        "      The game is never started, whatever \"run quake ii after compile\" says.\n"
        "      Prints each step's command line and output, each map's report, then a\n"
        "      table; each map's Brushwright.log is written as the window writes it.\n"
        "      --suite, --engine  this run's compiler suite and engine, instead of the\n"
        "                         settings'\n"
        "      --json  one JSON object on standard output, all else on standard error\n"
        "      --full  every step runs: no vis reused\n"
        "      Exit: 0 every map compiled and its report is clean; 1 a map failed, leaks,\n"
        "      is over a limit, has a format its engine does not load or lacks a texture;\n"
        "      2 bad usage, settings that cannot be read, a map that cannot be compiled\n"
        "      (nothing runs then); 130 ended by Ctrl+C or SIGTERM, compilers ended too.\n"
        "  brushwright --report PATH [--engine vanilla|yamagi|q2pro|rerelease] [--json]\n"
        "      The map report of a .bsp, or of a .map (its textures, and the .bsp of its\n"
        "      name beside it). Exit: 0 all within the engine's limits; 1 something over,\n"
        "      an unsupported format, a missing texture or a leak; 2 a file that cannot\n"
        "      be read or bad usage.\n"
        "  brushwright --view PATH.bsp [--shot OUT.png [--size WxH]\n"
        "                   [--camera \"X Y Z YAW PITCH\"] [--mode lit|lightmap|fullbright]\n"
        "                   [--lock \"X Y Z\"]]\n"
        "      The compiled map in 3D, alone. --shot draws one frame off screen into a\n"
        "      PNG file (default 800x600), prints what it shows and exits; --camera in\n"
        "      map units and the game's degrees (default: info_player_start); --lock\n"
        "      draws what the engine draws from that point. Exit: 0 done; 2 a file that\n"
        "      cannot be read or written, or bad usage.\n"
        "  brushwright --help | --version\n"
        "\n"
        "--compile and --report need no display; --view --shot needs an OpenGL driver\n"
        "(Mesa's software one serves) and, on Linux, a display or xvfb-run.\n");
}

QString versionText()
{
    return QStringLiteral("Brushwright %1\n").arg(QStringLiteral(BRUSHWRIGHT_VERSION));
}

int runCompileCommand(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Brushwright"));
    platform::attachParentConsole();
    const auto parsed = parseCompileArguments(QCoreApplication::arguments());
    if (const QString* problem = std::get_if<QString>(&parsed))
        return usageError(*problem);
    QList<MapJob> jobs;
    try {
        const StoredSettings stored = readStoredSettings(platform::settingsPlace());
        jobs = compileJobs(std::get<CompileArguments>(parsed), stored,
                           QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    } catch (const Failure& failure) {
        platform::writeStandardError(QStringLiteral("brushwright: %1\n").arg(failure.text()));
        return 2;
    }
    CompileFront front(jobs, std::get<CompileArguments>(parsed).json);
    platform::InterruptNotifier interrupts;
    QObject::connect(&interrupts, &platform::InterruptNotifier::interrupted, &front,
                     &CompileFront::interrupt);
    QObject::connect(&front, &CompileFront::finished, &application,
                     [&front] { QCoreApplication::exit(front.exitCode()); });
    QMetaObject::invokeMethod(&front, &CompileFront::start, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

} // namespace cli
