// The real program's compile window with the real compilers, natively and
// through Wine, on a display of its own: "compile" is clicked as a mapper
// clicks it, and the maps folder shows what ran. In a mod the map's
// textures are in the mod and in baseq2, loose and in a pak, as a mapper
// has them, and no compiler may miss one.
#include "GameFolder.h"
#include "TestEnvironment.h"
#include "VirtualDisplay.h"
#include "platform/TextFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_CompileWindowRun : public QObject {
    Q_OBJECT

private slots:
    void compile_data();
    void compile();
};

void tst_CompileWindowRun::compile_data()
{
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QString>("folder"); // under ../shared/compilers
    QTest::addColumn<QString>("map");
    QTest::addColumn<QStringList>("summary"); // the log's last lines
    QTest::addColumn<QString>("mod");

    const QStringList done = {"bsp: done", "vis: done (no earlier vis)", "light: done",
                              "game: done: started"};
    QTest::newRow("id's tools") << "id"
                                << "linux"
                                << "box" << done << QString();
    QTest::newRow("q2tools-220") << "q2tools"
                                 << "linux"
                                 << "box" << done << QString();
    QTest::newRow("ericw-tools") << "ericw"
                                 << "linux/ericw"
                                 << "box" << done << QString();
    QTest::newRow("id's tools, Windows") << "id"
                                         << "windows"
                                         << "box" << done << QString();
    QTest::newRow("q2tools-220, Windows") << "q2tools"
                                          << "windows"
                                          << "box" << done << QString();
    QTest::newRow("leak") << "id"
                          << "linux"
                          << "leak"
                          << QStringList{"bsp: failed: leak", "vis: skipped", "light: skipped",
                                         "game: skipped"}
                          << QString();
    QTest::newRow("q2tools-220 in a mod") << "q2tools"
                                          << "linux"
                                          << "box" << done << "jam1";
    QTest::newRow("ericw-tools in a mod") << "ericw"
                                          << "linux/ericw"
                                          << "box" << done << "jam1";
}

void tst_CompileWindowRun::compile()
{
    QFETCH(QString, suite);
    QFETCH(QString, folder);
    QFETCH(QString, map);
    QFETCH(QStringList, summary);
    QFETCH(QString, mod);
#ifdef _WIN32
    QSKIP("drives the program with Xvfb and xdotool");
#endif
    const QString compilers = QDir::cleanPath(qEnvironmentVariable("BRUSHWRIGHT_COMPILERS"));
    if (!QFile::exists(compilers + "/testmap/box.map"))
        QSKIP("no real compilers: ../shared/compilers is missing");
    if (folder == "windows" && QStandardPaths::findExecutable("wine").isEmpty())
        QSKIP("wine is not installed (scripts/deps.sh installs it)");
    VirtualDisplay display;
    QVERIFY2(display.isRunning(), "Xvfb could not be started");

    // A game folder with blanks, an ampersand, a percent sign and accents.
    QTemporaryDir dir;
    const QString game = dir.filePath("quake2 Jörg & 100%");
    const QString maps = game + "/" + (mod.isEmpty() ? "baseq2" : mod) + "/maps";
    QVERIFY(QDir().mkpath(maps));
    QVERIFY(QFile::copy(compilers + "/testmap/" + map + ".map", maps + "/" + map + ".map"));
    if (mod.isEmpty()) {
        // id's tools take the folder after the one starting with quake2;
        // q2tool the one above the maps folder.
        for (const QString& pics : {game + "/pics", game + "/baseq2/pics"})
            QVERIFY(QDir().mkpath(pics) &&
                    QFile::copy(compilers + "/testmap/colormap.pcx", pics + "/colormap.pcx"));
    } else {
        writeBytes(game + "/" + mod + "/textures/e1u1/wall1_1.wal",
                   gamefolder::wal("e1u1/wall1_1", 1));
        writeBytes(game + "/baseq2/textures/e1u1/floor1_3.wal",
                   gamefolder::wal("e1u1/floor1_3", 1));
        writeBytes(game + "/baseq2/pak0.pak",
                   gamefolder::pak(
                       {{"textures/e1u1/ceil1_1.wal", gamefolder::wal("e1u1/ceil1_1", 1)},
                        {"pics/colormap.pcx", readBytes(compilers + "/testmap/colormap.pcx")}}));
    }
    QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER"), game + "/quake2"));

    const QString exe = dir.filePath("brushwright");
    QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_EXE"), exe));
    // Run the game; pause after compiling off: the window closes itself.
    textfile::writeLines(dir.filePath("settings.builtin"),
                         {"1", "0", "1", "0", "0", "0", game, "0", "0", "0"});
    // The boxes whose switch comes when unchecked are checked: a plain build.
    QStringList lastUsed =
        optionSetLines({"0", "0", "100", "40", "100", "0", "196", "1", "1", "1"});
    const QString checked = "1010011100110000010000001";
    for (int i = 0; i < checked.size(); ++i)
        lastUsed[i + 1] = checked.at(i);
    textfile::writeLines(dir.filePath("lastused.builtin"), lastUsed);
    textfile::writeLines(dir.filePath("brushwright.ini"),
                         {"[compilers]", "suite=" + suite, "folder=" + compilers + "/" + folder,
                          "[compile]", "way=window", "[game]", "mod=" + mod});

    QProcess program;
    QProcessEnvironment environment = display.environment();
    environment.insert("PATH", qEnvironmentVariable("PATH"));
    if (qEnvironmentVariableIsSet("WINEPREFIX"))
        environment.insert("WINEPREFIX", qEnvironmentVariable("WINEPREFIX"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(exe, {map});
    QVERIFY(program.waitForStarted(5000));
    const QString window = display.waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    display.click(window, 356, 20); // "compile"
    QVERIFY2(!display.waitForWindow("Brushwright compile").isEmpty(), "no compile window");

    // The log is written when the compile ends; a fresh prefix starts Wine.
    const QString log = maps + "/Brushwright.log";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 180000);
    const QStringList lines = QString::fromUtf8(readBytes(log)).trimmed().split('\n');
    QStringList states;
    for (const QString& line : lines.mid(lines.size() - summary.size()))
        states << line.section(" in ", 0, 0);
    QVERIFY2(states == summary, qPrintable(lines.mid(lines.size() - 12).join('\n')));
    // q2tool: "couldn't locate texture e1u1/…"; ericw-tools: "Couldn't locate
    // texture for e1u1/…" (and for its own "skip", with or without a mod).
    const QRegularExpression missing("locate texture[^\n]*e1u1",
                                     QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(mod.isEmpty() || !lines.join('\n').contains(missing), qPrintable(lines.join('\n')));

    // ericw-tools' progress bars update in place: each is one line, in its
    // last state.
    const QByteArray text = readBytes(log);
    const qsizetype bars = text.count("time elapsed");
    QVERIFY(!text.contains("est:") && !text.contains("%]  ..."));
    QCOMPARE(text.count("\n[100%] time elapsed") + text.count("\n[done] time elapsed"), bars);
    QCOMPARE(bars > 0, suite == "ericw");

    const bool succeeded = summary.first() == "bsp: done";
    if (succeeded) {
        // After "IBSP" and the version, an offset and a length for each lump:
        // visibility, faces and light are lumps 3, 6 and 7.
        const QByteArray bsp = readBytes(maps + "/box.bsp");
        QVERIFY(bsp.startsWith("IBSP") && bsp.size() > 72);
        for (const int lump : {3, 6, 7})
            QVERIFY2(qFromLittleEndian<qint32>(bsp.constData() + 12 + 8 * lump) > 0,
                     qPrintable("empty lump " + QString::number(lump)));
    }
    // A moment after success the window closes itself; never after a failure.
    QTest::qWait(2500);
    if (succeeded && mod.isEmpty()) {
        // A light changed: vis is reused, and the step list says since when.
        QFile file(maps + "/box.map");
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray changed = file.readAll().replace("\"light\" \"400\"", "\"light\" \"250\"");
        QVERIFY(file.resize(0) && file.write(changed) == changed.size());
        file.close();
        QVERIFY(QFile::remove(log));
        display.click(window, 356, 20);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 180000);
        const QString again = QString::fromUtf8(readBytes(log));
        QVERIFY2(again.contains(QRegularExpression(
                     "\nvis reused: portals unchanged since \\d\\d:\\d\\d, \\d+\\.\\d s saved\n")),
                 qPrintable(again));
        QVERIFY2(again.contains("\nvis: reused: portals unchanged since ") &&
                     again.contains("\nlight: done in ") && again.contains("\ngame: done: started"),
                 qPrintable(again.right(300)));
        QTest::qWait(2500);
    }
    // The game is started, not waited for; never after a failure.
    const QByteArray play = mod.isEmpty() ? "\n+map\nbox\n" : "\n+set\ngame\njam1\n+map\nbox\n";
    QCOMPARE(readBytes(game + "/calls.log").contains(play), succeeded);
    QCOMPARE(
        display.xdotool({"search", "--onlyvisible", "--name", "^Brushwright compile$"}).isEmpty(),
        succeeded);
    if (!succeeded)
        QVERIFY(display.closeWindow(display.waitForWindow("Brushwright compile")));
    display.click(window, 304, 20); // "cancel" ends the program
    QVERIFY(program.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_CompileWindowRun)
#include "tst_CompileWindowRun.moc"
