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
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("row");      // a row the map part shows
    QTest::addColumn<QString>("warning");  // above the steps
    QTest::addColumn<QString>("bspState"); // the bsp step's line

    const QString wallMissing =
        "The game lacks 1 texture the map names (the compilers drop their flags): e1u1/wall1_1";
    QTest::newRow("models over, a texture missing")
        << testmaps::crowdedMap() << "models 301 of 256 *Index: overflow" << wallMissing << "done";
    QFile leak(qEnvironmentVariable("BRUSHWRIGHT_COMPILERS") + "/testmap/leak.map");
    QTest::newRow("leak") << (leak.open(QIODevice::ReadOnly) ? leak.readAll() : QByteArray())
                          << QString() << wallMissing
                          << "failed: leak from info_player_start at (0 0 32)";
}

void tst_CompileWindowReport::mapPart()
{
    QFETCH(QByteArray, map);
    QFETCH(QString, row);
    QFETCH(QString, warning);
    QFETCH(QString, bspState);
    const QString q2tool = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS") + "/linux/q2tool";
    if (!QFileInfo(q2tool).isExecutable() || map.isEmpty())
        QSKIP("no real compilers: ../shared/compilers is missing");

    QTemporaryDir dir;
    const QString maps = dir.filePath("quake2/baseq2/maps");
    writeFile(maps + "/x.map", map);
    for (const QByteArray name : {"e1u1/floor1_3", "e1u1/ceil1_1"})
        writeFile(dir.filePath("quake2/baseq2/textures/" + name + ".wal"), wal(name));

    CompileWindow window;
    run::RunStep bsp{CompileStep::Kind::Bsp, {}, "x"};
    bsp.launch.program = q2tool;
    bsp.launch.arguments = QStringList{"-bsp", "x"};
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
    QVERIFY2(texts.contains("The map leaks from info_player_start at (0 0 32) out to "
                            "(-136 648 288)."),
             qPrintable(texts.join('\n')));
}

QTEST_MAIN(tst_CompileWindowReport)
#include "tst_CompileWindowReport.moc"
