// The compile window's map part after a real compile with q2tool: a limit
// over with the engine's words, a missing texture named before the first
// step, and a leak named in the bsp step's line and shown on "show leak".
#include "../support/TestMaps.h"
#include "ui/CompileWindow.h"
#include "ui/MapReportView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A 64 × 64 .wal of one colour, as the compilers read its size.
QByteArray wal(const QByteArray& name)
{
    QByteArray header = name.leftJustified(32, '\0');
    quint32 fields[6] = {64, 64, 100, 100 + 4096, 100 + 5120, 100 + 5376};
    for (quint32& field : fields)
        header += QByteArray(reinterpret_cast<const char*>(&(field = qToLittleEndian(field))), 4);
    return header.leftJustified(100, '\0') + QByteArray(5440, '\x10');
}

} // namespace

class tst_CompileWindowReport : public QObject {
    Q_OBJECT

private slots:
    void mapPart_data();
    void mapPart();
};

void tst_CompileWindowReport::mapPart_data()
{
    QTest::addColumn<QStringList>("bspCommand"); // under ../shared/compilers/linux
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("row");      // a row the map part shows
    QTest::addColumn<QString>("warning");  // above the steps
    QTest::addColumn<QString>("bspState"); // the bsp step's line

    const QString wallMissing =
        "The game lacks 1 texture the map names (the compilers drop their flags): e1u1/wall1_1";
    const QStringList q2tool{"q2tool", "-bsp", "x"};
    QTest::newRow("models over, a texture missing")
        << q2tool << testmaps::crowdedMap() << "models 301 of 256 *Index: overflow" << wallMissing
        << "done";
    QFile file(qEnvironmentVariable("BRUSHWRIGHT_COMPILERS") + "/testmap/leak.map");
    const QByteArray leak = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    // Each suite's point file, and ericw-tools' from the other end.
    QTest::newRow("leak, q2tool") << q2tool << leak << QString() << wallMissing
                                  << "failed: leak from info_player_start at (0 0 32)";
    QTest::newRow("leak, id's qbsp3")
        << QStringList{"qbsp3", "x"} << leak << QString() << wallMissing
        << "failed: leak from info_player_start at (0 0 32)";
    QTest::newRow("leak, ericw-tools")
        << QStringList{"ericw/qbsp", "-q2bsp", "x"} << leak << QString() << wallMissing
        << "failed: leak from light at (0 0 160)";
}

void tst_CompileWindowReport::mapPart()
{
    QFETCH(QStringList, bspCommand);
    QFETCH(QByteArray, map);
    QFETCH(QString, row);
    QFETCH(QString, warning);
    QFETCH(QString, bspState);
    const QString program =
        qEnvironmentVariable("BRUSHWRIGHT_COMPILERS") + "/linux/" + bspCommand.first();
    if (!QFileInfo(program).isExecutable() || map.isEmpty())
        QSKIP("no real compilers: ../shared/compilers is missing");

    QTemporaryDir dir;
    const QString maps = dir.filePath("quake2/baseq2/maps");
    writeFile(maps + "/x.map", map);
    for (const QByteArray name : {"e1u1/floor1_3", "e1u1/ceil1_1"})
        writeFile(dir.filePath("quake2/baseq2/textures/" + name + ".wal"), wal(name));

    CompileWindow window;
    run::RunStep bsp{CompileStep::Kind::Bsp, {}, "x"};
    bsp.launch.program = program;
    bsp.launch.arguments = bspCommand.mid(1);
    bsp.launch.workingFolder = maps;
    CompileWindow::Options options;
    options.pauseAfter = true;
    options.logPath = maps + "/Brushwright.log";
    options.mapPath = maps + "/x.map";
    window.start({bsp}, options);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(window.mapPart()->isVisible(), 60000);

    QCOMPARE(window.texturesWarning()->text(), warning);
    QVERIFY(window.stepList()->topLevelItem(0)->text(1).startsWith(bspState));
    const QStringList shown = window.mapPart()->shownRows();
    QVERIFY2(row.isEmpty() ? shown.isEmpty() : shown.contains(row), qPrintable(shown.join('\n')));
    window.grab().save(QDir(QCoreApplication::applicationDirPath())
                           .filePath(QString("compile-window-%1.png")
                                         .arg(QTest::currentDataTag())
                                         .replace(' ', '-')
                                         .remove(',')));

    QCOMPARE(window.showLeakButton->isVisible(), bspState.startsWith("failed: leak"));
    if (!window.showLeakButton->isVisible())
        return;
    window.showLeakButton->click();
    QWidget* leakWindow = nullptr;
    for (QWidget* shownWindow : QApplication::topLevelWidgets()) {
        if (shownWindow->isVisible() && shownWindow->windowTitle() == "Brushwright leak")
            leakWindow = shownWindow;
    }
    QVERIFY(leakWindow);
    QStringList texts;
    for (const QLabel* label : leakWindow->findChildren<QLabel*>())
        texts << label->text();
    const QString sentence = "The map leaks from " + bspState.section("leak from ", 1) + " out to";
    QVERIFY2(std::any_of(texts.cbegin(), texts.cend(),
                         [&](const QString& text) { return text.startsWith(sentence); }),
             qPrintable(texts.join('\n')));
}

QTEST_MAIN(tst_CompileWindowReport)
#include "tst_CompileWindowReport.moc"
