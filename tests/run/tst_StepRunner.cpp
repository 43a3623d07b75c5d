// The step runner over stand-in compilers that behave as real ones may: each
// row runs a bsp or vis step, then a light step that exits 0, and checks
// what the runner reported.
#include "platform/CodePage.h"
#include "platform/PathMapping.h"
#include "run/StepRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Kind = CompileStep::Kind;

namespace {

// Processes whose command line names a file in the folder, as Linux or
// as Wine names it (none found on Windows).
int processesRunning(const QString& folder)
{
    int count = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile file("/proc/" + entry + "/cmdline");
        const QByteArray commandLine = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
        if (commandLine.contains(folder.toUtf8()) ||
            commandLine.contains(platform::wineWindowsPath(folder).toUtf8()))
            ++count;
    }
    return count;
}

} // namespace
using run::StepState;

class tst_StepRunner : public QObject {
    Q_OBJECT

private slots:
    void behaviours_data();
    void behaviours();
};

void tst_StepRunner::behaviours_data()
{
    QTest::addColumn<QString>("standin"); // the stand-in's file, empty: none
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<QString>("reason"); // how the first step ends
    QTest::addColumn<int>("lines");      // lines read in all, -1: not counted

    const QString native = qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER");
    const QString windows = qEnvironmentVariable("BRUSHWRIGHT_WINDOWS_STANDIN");
    const int bsp = int(Kind::Bsp);
    const int vis = int(Kind::Vis);
    QTest::newRow("exit 0") << native << bsp << ""
                            << "" << 0;
    QTest::newRow("exit 3") << native << bsp << "exit=3"
                            << "exit code 3" << 0;
#ifndef _WIN32
    QTest::newRow("signal") << native << bsp << "signal"
                            << "ended by signal 9" << 0;
    QTest::newRow("not executable") << native + ".noexec" << bsp << ""
                                    << "is not executable" << 0;
#endif
    QTest::newRow("leak line") << native << bsp << "leak"
                               << "leak" << 2;
    QTest::newRow("leak line, not bsp") << native << vis << "leak"
                                        << "" << 2;
    QTest::newRow("point file") << native << bsp << "pointfile"
                                << "leak (leak.lin written)" << 0;
    QTest::newRow("point file, occupant") << native << bsp << "occupant"
                                          << "leak (box.pts written)" << 2;
    QTest::newRow("bad switch, exit 0") << native << vis << "badswitch"
                                        << "bad switch" << 2;
    QTest::newRow("missing") << QString() << bsp << ""
                             << "qbsp3 was not found; looked in: " << 0;
    QTest::newRow("flood") << native << bsp << "flood=300000"
                           << "" << 300000;
    QTest::newRow("binary") << native << bsp << "binary"
                            << "" << 1;
    // 50 MB without a line end: in pieces of the longest line.
    QTest::newRow("long line") << native << bsp << "longline=52428800"
                               << "" << int(52428800 / run::LineSplitter::maxLineBytes);
    QTest::newRow("cancel") << native << bsp << "hang"
                            << "cancelled" << -1;
    if (!windows.isEmpty() && !QStandardPaths::findExecutable("wine").isEmpty())
        QTest::newRow("cancel under wine") << windows << bsp << "hang"
                                           << "cancelled" << -1;
}

void tst_StepRunner::behaviours()
{
    QFETCH(QString, standin);
    QFETCH(int, kind);
    QFETCH(QString, behaviour);
    QFETCH(QString, reason);
    QFETCH(int, lines);

    if (qEnvironmentVariableIsEmpty("BRUSHWRIGHT_FAKECOMPILER"))
        QSKIP("no stand-in compiler: run through CTest of the Linux build");
    QTemporaryDir dir;
    const QString maps = dir.filePath("maps");
    const QString tools = dir.filePath("tools");
    QVERIFY(QDir().mkpath(maps) && QDir().mkpath(tools));
    const QString name = kind == int(Kind::Bsp) ? "qbsp3" : "qvis3";
    const QString native = qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER");
    const QString suffix = standin.endsWith(".exe") ? ".exe" : "";
    if (!standin.isEmpty()) {
        QVERIFY(QFile::copy(standin.endsWith(".noexec") ? native : standin,
                            tools + "/" + name + suffix));
        if (standin.endsWith(".noexec"))
            QFile(tools + "/" + name).setPermissions(QFileDevice::ReadOwner);
    }
    QVERIFY(QFile::copy(native, tools + "/qrad3" + (native.endsWith(".exe") ? ".exe" : "")));
    qputenv(("BRUSHWRIGHT_STANDIN_" + name).toUtf8(), behaviour.toUtf8());

    const run::Places places{tools, maps, dir.path(), "Z:\\maps",
                             qEnvironmentVariable("PATH").split(QDir::listSeparator())};
    QList<run::RunStep> steps;
    for (const CompileStep& step :
         {CompileStep{Kind(kind), name, {"box"}}, CompileStep{Kind::Light, "qrad3", {"box"}}})
        steps << run::RunStep{step.kind, run::launchFor(step, places), "box"};

    run::StepRunner runner;
    QList<run::StepResult> results;
    int lineCount = 0;
    qsizetype longest = 0;
    QString text;
    connect(&runner, &run::StepRunner::stepFinished, &runner,
            [&](int, const run::StepResult& result) { results << result; });
    connect(&runner, &run::StepRunner::linesRead, &runner, [&](const run::Lines& block) {
        if (block.count == 0)
            return; // only the line being written
        const QString read = run::decodeLines(block.bytes, block.windowsProgram);
        const QStringList split = read.split('\n');
        QCOMPARE(split.size(), block.count);
        lineCount += block.count;
        for (const QString& line : split)
            longest = std::max(longest, line.size());
        if (text.size() < 1000)
            text += read;
    });
    QSignalSpy finished(&runner, &run::StepRunner::finished);
    runner.start(steps, {});

    QElapsedTimer cancelTime;
    if (behaviour == "hang") {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(maps + "/child.pid"), 60000);
        cancelTime.start();
        runner.cancel();
    }
    QVERIFY(finished.wait(60000));
    if (cancelTime.isValid())
        QVERIFY2(cancelTime.elapsed() < 1000, qPrintable(QString::number(cancelTime.elapsed())));

    QCOMPARE(results.size(), 2);
    const bool failed = !reason.isEmpty();
    QCOMPARE(results[0].state, failed ? StepState::Failed : StepState::Done);
    QVERIFY2(results[0].reason.startsWith(reason) || results[0].reason.contains(reason),
             qPrintable(results[0].reason));
    // Stopped at the first failure: the light step skipped, else run.
    QCOMPARE(results[1].state, failed ? StepState::Skipped : StepState::Done);
    QCOMPARE(finished.first().first().toBool(), !failed);
    if (lines >= 0)
        QCOMPARE(lineCount, lines);
    // A leak's point file, for the leak window; ericw-tools' entity line.
    const QString written = reason.startsWith("leak (") ? reason.mid(6).section(' ', 0, 0) : "";
    QCOMPARE(results[0].pointFile, written.isEmpty() ? QString() : maps + "/" + written);
    QCOMPARE(
        results[0].occupant,
        behaviour == "occupant"
            ? QString("WARNING: Reached occupant \"light\" at (0 0 160), no filling performed.")
            : QString());
    QVERIFY(longest <= run::LineSplitter::maxLineBytes);
    // Not text to a Linux program; to a Windows one, text in its code page.
    if (behaviour == "binary" && !standin.endsWith(".exe"))
        QCOMPARE(text, QString("\uFFFD\uFFFD\uFFFD\uFFFD[2J\uFFFD(\uFFFD text"));
    if (behaviour == "binary" && standin.endsWith(".exe") &&
        platform::codePageNumber(platform::CodePage::Ansi) == 1252)
        QCOMPARE(text, QString("\u00FF\u00FE\uFFFD\uFFFD[2J\u00C3(\u20AC text"));
    if (reason.startsWith("qbsp3 was not found"))
        QVERIFY(results[0].reason.contains(tools + "/qbsp3.exe, " + maps + "/qbsp3, "));
    // Everything the cancelled step started has ended: its child, and the
    // Windows program inside Wine.
    QTRY_COMPARE_WITH_TIMEOUT(processesRunning(tools), 0, 1000);
}

QTEST_GUILESS_MAIN(tst_StepRunner)
#include "tst_StepRunner.moc"
