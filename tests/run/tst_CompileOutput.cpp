// A compile's output on its way to the view and the log: the view gets the
// headings, the failures and the latest lines in order, the log everything,
// and a folder that cannot be written costs the log only.
#include "run/CompileOutput.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_CompileOutput : public QObject {
    Q_OBJECT

private slots:
    void output_data();
    void output();
};

void tst_CompileOutput::output_data()
{
    QTest::addColumn<QString>("logName"); // under a temporary folder
    QTest::addColumn<int>("lines");       // read by the bsp step, in blocks of 100
    QTest::addColumn<QString>("view");    // what one look at the end shows, abridged
    QTest::newRow("more than one look shows")
        << "Brushwright.log" << 1000
        << "> qbsp3 box|[... 800 lines not shown here: all are in the log]|line 801|...|"
           "line 1000|*** bsp failed: leak|> qvis3 box";
    QTest::newRow("folder is a file") << "file/Brushwright.log" << 100
                                      << "> qbsp3 box|line 1|...|line 100|*** bsp failed: leak|"
                                         "> qvis3 box";
}

void tst_CompileOutput::output()
{
    QFETCH(QString, logName);
    QFETCH(int, lines);
    QFETCH(QString, view);
    QTemporaryDir dir;
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const bool writable = !logName.startsWith("file/");

    run::CompileOutput output({"bsp", "vis"}, dir.filePath(logName), 200, 20000);
    QCOMPARE(output.logProblem().isEmpty(), writable);
    QSignalSpy done(&output, &run::CompileOutput::done);
    output.stepStarted(0, "qbsp3 box");
    for (int first = 1; first <= lines; first += 100) {
        run::Lines block;
        for (int i = first; i < first + 100; ++i)
            block.bytes += "line " + QByteArray::number(i) + '\n';
        block.count = 100;
        output.linesRead(block);
    }
    output.stepFinished(0, {run::StepState::Failed, "leak", 1200, {}, {}});
    output.stepStarted(1, "qvis3 box");
    output.stepFinished(1, {run::StepState::Done, {}, 300, {}, {}});
    output.finished(false);

    // Each run of output lines as its first, "..." and its last.
    QStringList shown;
    for (const QString& line : output.take().split('\n')) {
        const bool output = line.startsWith("line ");
        if (output && shown.size() > 1 && shown.last().startsWith("line ") &&
            shown.at(shown.size() - 2) == "...")
            shown.last() = line;
        else if (output && !shown.isEmpty() && shown.last().startsWith("line "))
            shown << "..." << line;
        else if (!line.isEmpty())
            shown << line;
    }
    QCOMPARE(shown.join('|'), view);
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().at(1).toString().isEmpty(), writable);
    QCOMPARE(QFile::exists(dir.filePath(logName)), writable);
    if (!writable)
        return;
    QFile log(dir.filePath(logName));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QCOMPARE(text.count("\nline "), lines);
    QVERIFY(text.endsWith("bsp: failed: leak in 1.2 s\nvis: done in 0.3 s\n"));
}

QTEST_GUILESS_MAIN(tst_CompileOutput)
#include "tst_CompileOutput.moc"
