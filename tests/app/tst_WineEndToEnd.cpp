// The Linux program as a mapper runs it with Wine: the real program on a
// display of its own, the game in a fresh Wine prefix, a map on its command
// line, "compile" pressed as a user would. Wine runs the batch file in its
// own console with its real command interpreter; stand-ins for the
// compilers and the game log where they ran and with which arguments, all
// into one log, and a key answers each pause once the test has seen that
// nothing ran on meanwhile.
#include "TestEnvironment.h"
#include "VirtualDisplay.h"
#include "platform/PathMapping.h"
#include "platform/TextFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <memory>

namespace {

using Calls = QList<QStringList>;

// A pause in the expected run: the interpreter waits for a key there.
const QStringList waitForKey{QStringLiteral("(pause)")};

// The calls in the log: name, "in " and the folder, then the arguments.
Calls readCalls(const QString& log)
{
    QFile file(log);
    Calls calls;
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    QStringList current;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty()) {
            current << QString::fromUtf8(line);
        } else if (!current.isEmpty()) {
            calls << current;
            current.clear();
        }
    }
    return calls;
}

QStringList call(const QString& name, const QString& folder, const QString& arguments)
{
    return QStringList{name, QStringLiteral("in ") + folder} + arguments.split(QLatin1Char(' '));
}

// An option-set file: the 25 option flags from a string of 0 and 1, then
// the two texts, the five slider positions and the three compiler switches.
QStringList optionSet(const char* flags, const QStringList& rest)
{
    QStringList lines{QStringLiteral("Modify at your own risk!")};
    for (const char* flag = flags; *flag; ++flag)
        lines << QString(QLatin1Char(*flag));
    return lines + rest;
}

} // namespace

class tst_WineEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void compile_data();
    void compile();
    void realCompilers_data();
    void realCompilers();

private:
    QString consoleWindow() const;
    QProcessEnvironment environment() const;
    void followRun(const QString& log, const Calls& expected);
    bool answerPause(const QString& log, qsizetype seen) const;

    std::unique_ptr<VirtualDisplay> display_;
    QTemporaryDir dir_;
    QString prefix_;
};

void tst_WineEndToEnd::initTestCase()
{
#ifdef _WIN32
    QSKIP("the Windows program runs under Wine in windows_compile_run");
#endif
    QVERIFY2(!QStandardPaths::findExecutable("wine").isEmpty(),
             "wine is missing: scripts/deps.sh installs it");
    QVERIFY2(QFile::exists(qEnvironmentVariable("BRUSHWRIGHT_WINDOWS_STANDIN")),
             "no stand-in compiler for Windows: scripts/deps.sh installs mingw-w64");
    QVERIFY2(!qEnvironmentVariable("BRUSHWRIGHT_EXE").isEmpty(), "run through CTest");
    display_ = std::make_unique<VirtualDisplay>();
    QVERIFY2(display_->isRunning(), "Xvfb could not be started");

    prefix_ = dir_.filePath("prefix");
    QProcess boot;
    boot.setProcessEnvironment(environment());
    boot.start("wineboot", {"-i"});
    QVERIFY(boot.waitForFinished(120000));
    QVERIFY2(QFileInfo(prefix_ + "/dosdevices/c:").isSymLink(), "wineboot made no prefix");
    // A second drive, as on a machine with the game on D:.
    QVERIFY(QDir().mkpath(dir_.filePath("d")));
    QVERIFY(QFile::link(dir_.filePath("d"), prefix_ + "/dosdevices/d:"));
}

void tst_WineEndToEnd::cleanupTestCase()
{
    if (!prefix_.isEmpty()) {
        QProcess server;
        server.setProcessEnvironment(environment());
        server.start("wineserver", {"-k"});
        server.waitForFinished(10000);
    }
}

QProcessEnvironment tst_WineEndToEnd::environment() const
{
    QProcessEnvironment environment = display_->environment();
    environment.insert("WINEPREFIX", prefix_);
    environment.insert("WINEDEBUG", "-all");
    return environment;
}

QString tst_WineEndToEnd::consoleWindow() const
{
    const QString found =
        display_->xdotool({"search", "--onlyvisible", "--name", "\\\\cmd\\.exe$"});
    return found.section(QLatin1Char('\n'), 0, 0);
}

void tst_WineEndToEnd::compile_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("deathmatch");
    QTest::addColumn<Calls>("expected");

    const QString light = "-scale 1 -direct 0.4 -entity 1 -ambient 0 -maxlight 196";
    const QStringList plainSliders = {"0", "0", "100", "40", "100", "0", "196"};

    const QString quake2 = "C:\\Quake2";
    const QString maps = quake2 + "\\baseq2\\maps";
    QTest::newRow("full build, then the game")
        << quake2 << "base1" << QStringList{"1", "1", "1", "0", "0", "2", quake2, "1", "0", "0"}
        << optionSet("1010011101100010010010101",
                     {"240", "4", "100", "40", "100", "5", "196", "1", "1", "1"})
        << false
        << Calls{call("qbsp3", maps, "-threads 2 -chop 240 -notjunc -v base1"),
                 call("qvis3", maps, "-threads 2 base1"),
                 call("qrad3", maps,
                      "-threads 2 -bounce 4 -extra -scale 1 -direct 0.4 -entity 1 -ambient 0.05 "
                      "-maxlight 196 base1"),
                 call("quake2", quake2, "+map base1"), waitForKey};

    const QString games = "D:\\Games\\Quake2";
    QTest::newRow("second drive, pauses, deathmatch clicked")
        << games << "dm1" << QStringList{"1", "0", "1", "0", "0", "0", games, "1", "1", "0"}
        << optionSet("0000000000000000000000000", plainSliders + QStringList{"1", "1", "0"}) << true
        << Calls{call("qbsp3", games + "\\baseq2\\maps",
                      "-noprune -nodetail -nomerge -nowater -nocsg -noshare -notjunc dm1"),
                 waitForKey,
                 call("qvis3", games + "\\baseq2\\maps", "-nosort dm1"),
                 waitForKey,
                 call("quake2", games, "+deathmatch 1 +map dm1"),
                 waitForKey};

    // Blanks, &, %, ^ and accents in the folder, the map name and the
    // fields: each must reach the programs as typed, however the
    // interpreter would read it.
    const QString odd = "C:\\Quake 2 & 100% ^J\u00f6rg";
    const QString oddMaps = odd + "\\baseq2\\maps";
    const QString map = "my map & 50% ^\u00fc";
    QTest::newRow("every switch, odd names")
        << odd << map + ".map" << QStringList{"1", "1", "1", "0", "0", "%OS%", odd, "0", "0", "0"}
        << optionSet("1111111111111111111111111",
                     {"1%PATH%", "4 ^ 5", "200", "200", "0", "100", "255", "1", "1", "1"})
        << false
        << Calls{call("qbsp3", oddMaps,
                      "-threads %OS% -glview -fulldetail -onlyents -noweld -chop 1%PATH% -noopt "
                      "-leaktest -v -verboseentities " +
                          map),
                 call("qvis3", oddMaps, "-threads %OS% -fast -v " + map),
                 call("qrad3", oddMaps,
                      "-threads %OS% -dump -bounce 4 ^ 5 -v -extra -glview -scale 2 -direct 2 "
                      "-entity 0 -ambient 1 -maxlight 255 " +
                          map),
                 call("quake2", odd, "+map " + map)};

    QTest::newRow("deathmatch without the game")
        << quake2 << "base1" << QStringList{"1", "0", "0", "0", "0", "0", quake2, "0", "0", "0"}
        << optionSet("0000000000000000000000000", plainSliders + QStringList{"0", "0", "1"}) << true
        << Calls{call("qrad3", maps, "-nopvs " + light + " base1")};

    QTest::newRow("both pauses, no game")
        << quake2 << "base1" << QStringList{"1", "0", "0", "0", "0", "0", quake2, "1", "1", "0"}
        << optionSet("1111111111111111111111111", plainSliders + QStringList{"1", "1", "1"})
        << false
        << Calls{call("qbsp3", maps,
                      "-glview -fulldetail -onlyents -noweld -chop 0 -noopt -leaktest -v "
                      "-verboseentities base1"),
                 waitForKey,
                 call("qvis3", maps, "-fast -v base1"),
                 waitForKey,
                 call("qrad3", maps, "-dump -bounce 0 -v -extra -glview " + light + " base1"),
                 waitForKey};
}

void tst_WineEndToEnd::compile()
{
    QFETCH(QString, game);
    QFETCH(QString, map);
    QFETCH(QStringList, settings);
    QFETCH(QStringList, options);
    QFETCH(bool, deathmatch);
    QFETCH(Calls, expected);

    // The stand-ins in the game's folders, logging into one file.
    const QString local = platform::wineLocalPath(game, prefix_);
    const QString maps = local + "/baseq2/maps";
    QVERIFY(QDir().mkpath(maps));
    const QString standIn = qEnvironmentVariable("BRUSHWRIGHT_WINDOWS_STANDIN");
    for (const QString& name :
         {maps + "/qbsp3.exe", maps + "/qvis3.exe", maps + "/qrad3.exe", local + "/quake2.exe"}) {
        QFile::remove(name);
        QVERIFY(QFile::copy(standIn, name));
    }
    const QString log = maps + "/calls.log";
    QFile::remove(log);
    QFile::remove(local + "/calls.log");
    QVERIFY(QFile::link(log, local + "/calls.log"));

    // The program installed as a user has it, with these settings.
    QTemporaryDir program;
    const QString exe = program.filePath("brushwright");
    QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_EXE"), exe));
    QFile(exe).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    textfile::writeLines(program.filePath("settings.builtin"), settings);
    textfile::writeLines(program.filePath("lastused.builtin"), options);

    QProcess process;
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(exe, {map});
    QVERIFY(process.waitForStarted(5000));
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    if (deathmatch)
        display_->click(window, 296, 480); // "deathmatch"
    display_->click(window, 356, 20);      // "compile"

    followRun(log, expected);
    if (QTest::currentTestFailed()) {
        process.kill();
        process.waitForFinished(5000);
        return;
    }
    display_->click(window, 304, 20); // "cancel"
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
}

// Sends a key to the waiting console; the batch file must then go on: the
// next call comes, or the console closes. A key that went astray (once, a
// loaded machine lost one) is sent again, and said so.
bool tst_WineEndToEnd::answerPause(const QString& log, qsizetype seen) const
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString console = consoleWindow();
        if (console.isEmpty())
            return false;
        if (attempt > 0)
            qWarning("no answer to the key in 10 s: sending it again");
        display_->key(console, "space");
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (readCalls(log).size() > seen || consoleWindow().isEmpty())
                return true;
            QTest::qWait(100);
        }
    }
    return false;
}

// Waits for each call in turn and answers each waitForKey; at the end the
// console must close, with no call more than expected.
void tst_WineEndToEnd::followRun(const QString& log, const Calls& expected)
{
    qsizetype seen = 0;
    for (const QStringList& step : expected) {
        if (step == waitForKey) {
            // Waiting: nothing runs on, and the console stays.
            QTest::qWait(1500);
            QCOMPARE(readCalls(log).size(), seen);
            QVERIFY2(answerPause(log, seen), "the console took no key");
            continue;
        }
        // The first run in the prefix starts Wine's services: give it time.
        const QDeadlineTimer deadline(60000);
        while (readCalls(log).size() <= seen && !deadline.hasExpired())
            QTest::qWait(100);
        const Calls calls = readCalls(log);
        QVERIFY2(calls.size() > seen, qPrintable("no call after " + QString::number(seen)));
        QCOMPARE(calls[seen], step);
        ++seen;
    }
    const QDeadlineTimer deadline(30000);
    while (!consoleWindow().isEmpty() && !deadline.hasExpired())
        QTest::qWait(100);
    QVERIFY2(consoleWindow().isEmpty(), "the batch file did not end");
    QCOMPARE(readCalls(log).size(), seen);
}

// The real Windows compilers of a suite, called from the batch file by the
// full path of a compilers folder given in brushwright.ini as a Linux
// path, on a game folder given as a Linux path too. In a mod the batch file
// goes to the mod's maps folder; id's tools read the palette from the mod
// alone, so the mod has one.
void tst_WineEndToEnd::realCompilers_data()
{
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QString>("mod");
    QTest::newRow("id's tools") << "id"
                                << "";
    QTest::newRow("q2tools-220") << "q2tools"
                                 << "";
    QTest::newRow("id's tools in a mod") << "id"
                                         << "jam1";
}

void tst_WineEndToEnd::realCompilers()
{
    QFETCH(QString, suite);
    QFETCH(QString, mod);
    const QString compilers = QDir::cleanPath(qEnvironmentVariable("BRUSHWRIGHT_COMPILERS"));
    if (!QFile::exists(compilers + "/windows/q2tool.exe"))
        QSKIP("no real compilers: ../shared/compilers is missing");
    const QString game = dir_.filePath(suite + mod + "/quake2");
    const QString folder = game + "/" + (mod.isEmpty() ? "baseq2" : mod);
    const QString maps = folder + "/maps";
    QVERIFY(QDir().mkpath(maps) && QDir().mkpath(folder + "/pics"));
    QVERIFY(QFile::copy(compilers + "/testmap/box.map", maps + "/box.map"));
    QVERIFY(QFile::copy(compilers + "/testmap/colormap.pcx", folder + "/pics/colormap.pcx"));

    QTemporaryDir program;
    const QString exe = program.filePath("brushwright");
    QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_EXE"), exe));
    QFile(exe).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    textfile::writeLines(program.filePath("settings.builtin"),
                         {"1", "0", "0", "0", "0", "0", game, "0", "0", "0"});
    // The boxes whose switch comes when unchecked are checked: a plain build.
    textfile::writeLines(program.filePath("lastused.builtin"),
                         optionSet("1010011100110000010000001",
                                   {"0", "0", "100", "40", "100", "0", "196", "1", "1", "1"}));
    textfile::writeLines(program.filePath("brushwright.ini"),
                         {"[compilers]", "suite=" + suite, "folder=" + compilers + "/windows",
                          "[game]", "mod=" + mod});

    QProcess process;
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(exe, {"box"});
    QVERIFY(process.waitForStarted(5000));
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    display_->click(window, 356, 20);        // "compile"
    for (const bool shown : {false, true}) { // the console comes, then goes
        const QDeadlineTimer deadline(shown ? 180000 : 60000);
        while (consoleWindow().isEmpty() != shown && !deadline.hasExpired())
            QTest::qWait(200);
    }
    display_->click(window, 304, 20); // "cancel"
    QVERIFY(process.waitForFinished(10000));

    QFile bsp(maps + "/box.bsp");
    QVERIFY2(bsp.open(QIODevice::ReadOnly), readBytes(maps + "/Brushwright.bat").constData());
    // After "IBSP" and the version, an offset and a length for each lump:
    // visibility, faces and light are lumps 3, 6 and 7.
    const QByteArray bytes = bsp.readAll();
    QVERIFY(bytes.startsWith("IBSP") && bytes.size() > 72);
    for (const int lump : {3, 6, 7})
        QVERIFY2(qFromLittleEndian<qint32>(bytes.constData() + 12 + 8 * lump) > 0,
                 qPrintable("empty lump " + QString::number(lump)));
}

QTEST_GUILESS_MAIN(tst_WineEndToEnd)
#include "tst_WineEndToEnd.moc"
