// Every switch a suite's table can write, with its value, handed to the
// real compiler (the Linux build of each suite) on the test map: each must
// be taken. The rows come from the tables, so a new row is tried at once.
#include "batch/BatchScript.h"
#include "batch/SuiteTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using settings::Suite;

namespace {

const Suite suites[] = {Suite::Id, Suite::Q2tools, Suite::Ericw};

// Where each suite's Linux programs are, below the shared compilers folder.
QString programFolder(const QString& compilers, Suite suite)
{
    return compilers + (suite == Suite::Ericw ? "/linux/ericw/" : "/linux/");
}

// Every option box in the state that writes no switch with the suite; the
// three compilers on; the fields and sliders at plain values.
BatchOptions quietOptions(Suite suite)
{
    BatchOptions o;
    const batch::SuiteTable& table = batch::suiteTable(suite);
    for (int box = 1; box <= 25; ++box) {
        const auto place = batch::findSwitch(table, box);
        o.checkBox[std::size_t(box)] = place && place->row->when == batch::When::Unchecked;
    }
    o.checkBox[30] = o.checkBox[31] = o.checkBox[32] = true;
    o.edit1 = "240";
    o.edit2 = "2";
    o.edit3 = "2";
    o.light = {1, 0.4, 1, 0, 196};
    o.mapName = "box";
    return o;
}

} // namespace

Q_DECLARE_METATYPE(Suite)

class tst_SuiteTable : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void switchTaken_data();
    void switchTaken();

private:
    QString compilers_;
    QTemporaryDir dir_;
};

void tst_SuiteTable::initTestCase()
{
    compilers_ = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (!QFile::exists(compilers_ + "/testmap/box.map"))
        QSKIP("no real compilers: ../shared/compilers is missing");
    // Each suite's map compiled once without a switch: a row starts from a
    // copy (qbsp3 -onlyents needs a .bsp to update).
    for (const Suite suite : suites) {
        const QString maps = dir_.filePath(QString::number(int(suite)) + "/quake2/baseq2/maps");
        QVERIFY(QDir().mkpath(maps) && QDir().mkpath(maps + "/../pics"));
        QVERIFY(QFile::copy(compilers_ + "/testmap/box.map", maps + "/box.map"));
        QVERIFY(QFile::copy(compilers_ + "/testmap/colormap.pcx", maps + "/../pics/colormap.pcx"));
        for (const CompileStep& step :
             batch::compileSteps(quietOptions(suite), {suite, {}, {}, {}, true})) {
            QProcess process;
            process.setWorkingDirectory(maps);
            process.start(programFolder(compilers_, suite) + step.program, step.arguments);
            QVERIFY2(process.waitForFinished(60000) && process.exitCode() == 0,
                     qPrintable(step.program + " failed on box.map"));
        }
    }
}

void tst_SuiteTable::switchTaken_data()
{
    QTest::addColumn<Suite>("suite");
    QTest::addColumn<BatchOptions>("options");

    for (const Suite suite : suites) {
        const batch::SuiteTable& table = batch::suiteTable(suite);
        const QString name = QLatin1String(table.name) + ": ";
        for (const batch::StepTable& step : table.steps) {
            for (const batch::Switch& row : step.switches) {
                BatchOptions o = quietOptions(suite);
                o.checkBox[std::size_t(row.checkBox)] = row.when == batch::When::Checked;
                QTest::newRow(qPrintable(name + step.program + ' ' + row.text)) << suite << o;
            }
        }
        BatchOptions threads = quietOptions(suite);
        threads.checkBox[26] = true;
        QTest::newRow(qPrintable(name + "-threads")) << suite << threads;
        BatchOptions light = quietOptions(suite);
        light.light = {2, 2, 2, 1, 255};
        QTest::newRow(qPrintable(name + "sliders at their ends")) << suite << light;
    }
}

void tst_SuiteTable::switchTaken()
{
    QFETCH(Suite, suite);
    QFETCH(BatchOptions, options);
    const QString from = dir_.filePath(QString::number(int(suite)) + "/quake2/baseq2/maps");
    QTemporaryDir row(dir_.filePath("rowXXXXXX"));
    const QString maps = row.filePath("quake2/baseq2/maps");
    QVERIFY(QDir().mkpath(maps) && QDir().mkpath(maps + "/../pics"));
    QVERIFY(QFile::copy(from + "/../pics/colormap.pcx", maps + "/../pics/colormap.pcx"));
    for (const QString& file : QDir(from).entryList(QDir::Files))
        QVERIFY(QFile::copy(from + '/' + file, maps + '/' + file));

    // Only the steps the switch is in: what a switch does may leave the
    // next step nothing to work on (qvis3 after qbsp3 -noprune).
    const settings::CompilerSettings compilers{suite, {}, {}, {}, true};
    const QList<CompileStep> quiet = batch::compileSteps(quietOptions(suite), compilers);
    for (const CompileStep& step : batch::compileSteps(options, compilers)) {
        if (quiet.contains(step))
            continue;
        QProcess process;
        process.setWorkingDirectory(maps);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(programFolder(compilers_, suite) + step.program, step.arguments);
        QVERIFY(process.waitForFinished(60000));
        const QByteArray output = process.readAll();
        const QString command = batch::commandText(step);
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(command + " failed:\n" + output.right(2000)));
        // ericw-tools exits 0 on a switch it does not know.
        QVERIFY2(!output.contains("ERROR OCCURRED WHEN TRYING TO PARSE ARGUMENTS"),
                 qPrintable(command + " was not understood:\n" + output.right(2000)));
    }
}

QTEST_GUILESS_MAIN(tst_SuiteTable)
#include "tst_SuiteTable.moc"
