// brushwright --compile as scripts run it: the real program, no display,
// its exit code and what it prints. Bad arguments run no compiler; each
// suite compiles three maps of which one leaks; Ctrl+C ends a compile and
// everything it started.
#include "GameFolder.h"
#include "TestEnvironment.h"
#include "cli/OutputPrinter.h"
#include "platform/TextFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace {

// Processes whose command line names the folder.
int processesIn(const QString& folder)
{
    int count = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile file("/proc/" + entry + "/cmdline");
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(folder.toUtf8()))
            ++count;
    }
    return count;
}

bool programAtHand()
{
#ifdef _WIN32
    return false;
#else
    return !qEnvironmentVariableIsEmpty("BRUSHWRIGHT_EXE");
#endif
}

} // namespace

class tst_CompileCommand : public QObject {
    Q_OBJECT

private slots:
    void argumentErrors_data();
    void argumentErrors();
    void compiles_data();
    void compiles();
    void interrupted();
    void terminalLines();

private:
    // The program in a folder of its own, a game beside it with box and
    // leak.
    void prepare();
    // The program in a folder of its own with the settings given, started
    // with no display; the stand-in named hanging hangs.
    void start(const QStringList& arguments, const QStringList& ini, const QString& hanging = {});
    // The same, run to its end; its exit code.
    int run(const QStringList& arguments, const QStringList& ini, int timeoutMs = 180000);
    QString game() const { return dir_->filePath("quake2 Jörg & 100%"); }

    std::unique_ptr<QTemporaryDir> dir_;
    QProcess program_;
    QByteArray out_, err_;
};

void tst_CompileCommand::prepare()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(dir_->filePath("app")));
    QVERIFY(
        QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_EXE"), dir_->filePath("app/brushwright")));
    for (const char* name : {"default.builtin", "lastused.builtin", "settings.builtin"})
        QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_DATA") + '/' + name,
                            dir_->filePath("app/") + name));
    // The textures of box.map in a pak, the palette in both game folders id's
    // and q2tool's tools read.
    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    QVERIFY(QDir().mkpath(game() + "/baseq2/maps"));
    const QByteArray palette = readBytes(compilers + "/testmap/colormap.pcx");
    writeBytes(game() + "/pics/colormap.pcx", palette);
    QList<std::pair<QByteArray, QByteArray>> files{{"pics/colormap.pcx", palette}};
    for (const QByteArray name : {"e1u1/wall1_1", "e1u1/floor1_3", "e1u1/ceil1_1"}) {
        files.append({"textures/" + name + ".wal", gamefolder::wal(name, 1)});
        writeBytes(game() + "/baseq2/textures/" + name + ".wal", gamefolder::wal(name, 1));
    }
    writeBytes(game() + "/baseq2/pak0.pak", gamefolder::pak(files));
    for (const char* map : {"box", "leak"})
        QFile::copy(compilers + "/testmap/" + map + ".map",
                    game() + "/baseq2/maps/" + map + ".map");
}

void tst_CompileCommand::start(const QStringList& arguments, const QStringList& ini,
                               const QString& hanging)
{
    textfile::writeLines(dir_->filePath("app/brushwright.ini"), ini);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert("XDG_CACHE_HOME", dir_->filePath("cache"));
    if (!hanging.isEmpty())
        environment.insert("BRUSHWRIGHT_STANDIN_" + hanging, "hang");
    program_.setProcessEnvironment(environment);
    program_.setWorkingDirectory(dir_->path());
    program_.start(dir_->filePath("app/brushwright"), QStringList{"--compile"} + arguments);
}

int tst_CompileCommand::run(const QStringList& arguments, const QStringList& ini, int timeoutMs)
{
    start(arguments, ini);
    if (!program_.waitForFinished(timeoutMs))
        return -1;
    out_ = program_.readAllStandardOutput();
    err_ = program_.readAllStandardError();
    return program_.exitStatus() == QProcess::NormalExit ? program_.exitCode() : -1;
}

// Each is refused with exit 2 and a message naming what is wrong, before
// any compiler runs.
void tst_CompileCommand::argumentErrors_data()
{
    QTest::addColumn<QStringList>("arguments"); // GAME/ for the game folder
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QString>("message");
    const QString box = "GAME/baseq2/maps/box.map";
    QTest::newRow("no map") << QStringList{} << "q2tools"
                            << "needs at least one .map";
    QTest::newRow("unknown switch") << QStringList{box, "--fast"} << "q2tools"
                                    << "unknown switch \"--fast\"";
    QTest::newRow("unknown suite") << QStringList{"--suite", "quake3", box} << "q2tools"
                                   << "unknown suite \"quake3\"";
    QTest::newRow("unknown engine") << QStringList{box, "--engine", "quake2"} << "q2tools"
                                    << "unknown engine \"quake2\"";
    QTest::newRow("missing") << QStringList{"GAME/baseq2/maps/none.map"} << "q2tools"
                             << "none.map: no such file";
    QTest::newRow("a folder") << QStringList{"GAME/baseq2/maps"} << "q2tools"
                              << "maps: a folder, not a .map file";
    QTest::newRow("a pipe") << QStringList{"GAME/baseq2/maps/pipe.map"} << "q2tools"
                            << "pipe.map: not a regular file";
    QTest::newRow("not in maps") << QStringList{"GAME/baseq2/box.map"} << "q2tools"
                                 << "not in a folder named maps";
    QTest::newRow("named twice") << QStringList{box, "GAME/baseq2/../baseq2/maps/box.map"}
                                 << "q2tools"
                                 << "named twice";
    QTest::newRow("no compilers") << QStringList{box} << "empty"
                                  << "q2tool was not found";
    QTest::newRow("id's tools without quake2") << QStringList{"OTHER/baseq2/maps/box.map"} << "id"
                                               << "need a folder named quake2";
}

void tst_CompileCommand::argumentErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, suite);
    QFETCH(QString, message);
    if (!programAtHand())
        QSKIP("runs the Linux program (BRUSHWRIGHT_EXE), signals it and looks in /proc");
    prepare();
    if (QTest::currentTestFailed())
        return;
    // Stand-ins that log each call: none may come.
    const QString tools = dir_->filePath("tools");
    QVERIFY(QDir().mkpath(tools) && QDir().mkpath(dir_->filePath("empty")));
    for (const char* name : {"q2tool", "qbsp3", "qvis3", "qrad3"})
        QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER"), tools + '/' + name));
    QVERIFY(makePipe(game() + "/baseq2/maps/pipe.map"));
    writeBytes(game() + "/baseq2/box.map", readBytes(game() + "/baseq2/maps/box.map"));
    writeBytes(dir_->filePath("other/baseq2/maps/box.map"), "{\n}\n");
    for (QString& argument : arguments)
        argument.replace("GAME", game()).replace("OTHER", dir_->filePath("other"));
    const int code = run(arguments,
                         {"[compilers]", "suite=" + (suite == "empty" ? "q2tools" : suite),
                          "folder=" + dir_->filePath(suite == "empty" ? "empty" : "tools")},
                         10000);
    QCOMPARE(code, 2);
    QVERIFY2(err_.contains(message.toUtf8()), err_.constData());
    QVERIFY(out_.isEmpty());
    QVERIFY(!QFile::exists(tools + "/calls.log"));
}

// box, leak and a copy of box, in one call, with each suite: three entries,
// the leak named, the two others compiled.
void tst_CompileCommand::compiles_data()
{
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QString>("folder"); // under ../shared/compilers
    QTest::newRow("id's tools") << "id"
                                << "linux";
    QTest::newRow("q2tools-220") << "q2tools"
                                 << "linux";
    QTest::newRow("ericw-tools") << "ericw"
                                 << "linux/ericw";
}

void tst_CompileCommand::compiles()
{
    QFETCH(QString, suite);
    QFETCH(QString, folder);
    if (!programAtHand())
        QSKIP("runs the Linux program (BRUSHWRIGHT_EXE), signals it and looks in /proc");
    prepare();
    if (QTest::currentTestFailed())
        return;
    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (!QFile::exists(compilers + "/testmap/box.map"))
        QSKIP("no real compilers: ../shared/compilers is missing");
    const QString maps = game() + "/baseq2/maps/";
    QVERIFY(QFile::copy(maps + "box.map", maps + "box two.map"));
    const QStringList ini = {"[compilers]", "suite=" + suite, "folder=" + compilers + '/' + folder};
    QCOMPARE(run({maps + "box.map", maps + "leak.map", maps + "box two.map", "--json"}, ini), 1);

    const QJsonObject result = QJsonDocument::fromJson(out_).object();
    QVERIFY2(!result.isEmpty(), out_.constData());
    QCOMPARE(result["ok"], false);
    const QJsonArray entries = result["maps"].toArray();
    QCOMPARE(entries.size(), 3);
    for (int i : {0, 2}) {
        const QJsonObject entry = entries.at(i).toObject();
        QCOMPARE(entry["suite"].toString(), suite);
        QStringList states;
        for (const QJsonValue step : entry["steps"].toArray())
            states << step["step"].toString() + ' ' + step["state"].toString();
        QCOMPARE(states, (QStringList{"bsp done", "vis done", "light done"}));
        QCOMPARE(entry["report"]["missingTextures"].toArray().size(), 0);
        QVERIFY(QFile::exists(maps + (i == 0 ? "box" : "box two") + ".bsp"));
    }
    const QJsonObject leak = entries.at(1).toObject();
    QCOMPARE(leak["map"].toString(), maps + "leak.map");
    QCOMPARE(leak["steps"][0]["state"].toString(), "failed");
    QCOMPARE(leak["steps"][1]["state"].toString(), "skipped");
    QVERIFY2(leak["report"]["leak"]["entity"].isString(), out_.constData());
    QVERIFY(QFile::exists(maps + "Brushwright.log"));
    // Compilers and table on standard error; the table names the leak.
    QVERIFY2(err_.contains("> ") && err_.contains("failed: leak from "), err_.constData());

    // Again, box alone: all is well, vis reused.
    QCOMPARE(run({maps + "box.map", "--json"}, ini), 0);
    const QJsonObject again = QJsonDocument::fromJson(out_).object();
    QCOMPARE(again["ok"], true);
    QCOMPARE(again["maps"][0]["steps"][1]["state"].toString(), "reused");
    QVERIFY2(err_.contains("\nvis reused: portals unchanged since ") &&
                 err_.contains("reused 0.0 s") && err_.trimmed().endsWith("ok"),
             err_.constData());
}

// Ctrl+C while vis runs: it and the child it started end, the table so
// far is printed, the exit code is 130.
void tst_CompileCommand::interrupted()
{
    if (!programAtHand())
        QSKIP("runs the Linux program (BRUSHWRIGHT_EXE), signals it and looks in /proc");
    prepare();
    if (QTest::currentTestFailed())
        return;
    const QString tools = dir_->filePath("tools");
    QVERIFY(QDir().mkpath(tools));
    for (const char* name : {"qbsp3", "qvis3", "qrad3"})
        QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER"), tools + '/' + name));
    start({game() + "/baseq2/maps/box.map", game() + "/baseq2/maps/leak.map"},
          {"[compilers]", "suite=id", "folder=" + tools}, "qvis3");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(game() + "/baseq2/maps/child.pid"), 10000);
    QCOMPARE(processesIn(tools), 2);
    QElapsedTimer clock;
    clock.start();
#ifndef _WIN32
    ::kill(pid_t(program_.processId()), SIGINT);
#endif
    QVERIFY(program_.waitForFinished(5000));
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(program_.exitCode(), 130);
    QCOMPARE(processesIn(tools), 0);
    const QByteArray out = program_.readAllStandardOutput();
    QVERIFY2(out.contains("failed") && out.trimmed().endsWith("interrupted") &&
                 !out.contains("leak.map"),
             out.constData());
}

// On a terminal a progress line is rewritten in place; into a pipe only
// whole lines go.
void tst_CompileCommand::terminalLines()
{
    QString shown, piped;
    cli::OutputPrinter terminal([&](const QString& text) { shown += text; }, true);
    cli::OutputPrinter pipe([&](const QString& text) { piped += text; }, false);
    const auto feed = [&](const QByteArray& bytes, int count, const QByteArray& unfinished) {
        for (cli::OutputPrinter* printer : {&terminal, &pipe})
            printer->output({bytes, count, false, unfinished});
    };
    feed("", 0, "[ 10%]  est: 00:01:00");
    feed("", 0, "[ 50%]");
    feed("[100%] done\nnext\n", 2, "");
    terminal.text("> light\n");
    feed("", 0, "0...1...");
    terminal.text("*** cancelled\n");
    QCOMPARE(shown, "[ 10%]  est: 00:01:00\r[ 50%]               \r[100%] done\nnext\n"
                    "> light\n0...1...\n*** cancelled\n");
    QCOMPARE(piped, "[100%] done\nnext\n");
}

QTEST_GUILESS_MAIN(tst_CompileCommand)
#include "tst_CompileCommand.moc"
