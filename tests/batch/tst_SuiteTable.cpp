// Every switch a suite's table can write, with its value, handed to the
// real compiler (each suite's Linux build) on the test map: each must be
// taken. The rows come from the tables: a new row is tried at once.
#include "batch/BatchScript.h"
#include "batch/SuiteTable.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using settings::Suite;
Q_DECLARE_METATYPE(Suite)

namespace {

const Suite suites[] = {Suite::Id, Suite::Q2tools, Suite::Ericw};

// Every option box in the state that writes no switch with the suite, the
// three compilers on, plain values.
BatchOptions quietOptions(Suite suite)
{
    BatchOptions o;
    for (int box = 1; box <= 25; ++box) {
        const auto place = batch::findSwitch(batch::suiteTable(suite), box);
        o.checkBox[std::size_t(box)] = place && place->row->when == batch::When::Unchecked;
    }
    o.checkBox[30] = o.checkBox[31] = o.checkBox[32] = true;
    o.edit1 = "240";
    o.edit2 = o.edit3 = "2";
    o.light = {1, 0.4, 1, 0, 196};
    o.mapName = "box";
    return o;
}

// Runs the steps of the options that differ from the quiet ones (what a
// switch does may leave the next step nothing to work on: qvis3 after
// qbsp3 -noprune); what went wrong, or nothing.
QString run(const QString& compilers, Suite suite, const BatchOptions& o, const QString& maps)
{
    const settings::CompilerSettings settings{suite, {}, {}, {}, true};
    const QList<CompileStep> quiet = batch::compileSteps(quietOptions(suite), settings);
    const QString folder = compilers + (suite == Suite::Ericw ? "/linux/ericw/" : "/linux/");
    for (const CompileStep& step : batch::compileSteps(o, settings)) {
        if (quiet.contains(step) && o != quietOptions(suite))
            continue;
        QProcess process;
        process.setWorkingDirectory(maps);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(folder + step.program, step.arguments);
        process.waitForFinished(60000);
        const QByteArray output = process.readAll();
        // ericw-tools exits 0 on a switch it does not know.
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
            output.contains("ERROR OCCURRED WHEN TRYING TO PARSE ARGUMENTS"))
            return batch::commandText(step) + " failed:\n" + output.right(2000);
    }
    return {};
}

} // namespace

class tst_SuiteTable : public QObject {
    Q_OBJECT

private slots:
    void switchTaken_data();
    void switchTaken();
};

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
        BatchOptions o = quietOptions(suite);
        o.checkBox[26] = true;
        QTest::newRow(qPrintable(name + "-threads")) << suite << o;
        o = quietOptions(suite);
        o.light = {2, 2, 2, 1, 255};
        QTest::newRow(qPrintable(name + "sliders at their ends")) << suite << o;
    }
}

void tst_SuiteTable::switchTaken()
{
    QFETCH(Suite, suite);
    QFETCH(BatchOptions, options);
    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (!QFile::exists(compilers + "/testmap/box.map"))
        QSKIP("no real compilers: ../shared/compilers is missing");
    QTemporaryDir dir;
    const QString maps = dir.filePath("quake2/baseq2/maps");
    QVERIFY(QDir().mkpath(maps) && QDir().mkpath(maps + "/../pics"));
    QVERIFY(QFile::copy(compilers + "/testmap/box.map", maps + "/box.map"));
    QVERIFY(QFile::copy(compilers + "/testmap/colormap.pcx", maps + "/../pics/colormap.pcx"));
    // The map compiled without a switch first: qbsp3 -onlyents needs a .bsp.
    for (const BatchOptions& o : {quietOptions(suite), options}) {
        const QString failure = run(compilers, suite, o, maps);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
}

QTEST_GUILESS_MAIN(tst_SuiteTable)
#include "tst_SuiteTable.moc"
