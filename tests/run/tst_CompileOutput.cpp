// A compile's output on its way to the view and the log: the view gets the
// headings, the failures and the latest lines in order, and the line being
// written as it stands; the log everything, as a terminal would show it once
// the step ends; and a folder that cannot be written costs the log only.
#include "run/CompileOutput.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "line 1\n" to "line <last>\n", in chunks of 100 lines.
QByteArrayList numbered(int last)
{
    QByteArrayList chunks(last / 100);
    for (int i = 0; i < last; ++i)
        chunks[i / 100] += "line " + QByteArray::number(i + 1) + '\n';
    return chunks;
}

} // namespace

class tst_CompileOutput : public QObject {
    Q_OBJECT

private slots:
    void output_data();
    void output();
};

void tst_CompileOutput::output_data()
{
    QTest::addColumn<QString>("logName");       // under a temporary folder
    QTest::addColumn<QByteArrayList>("chunks"); // the bsp step's output, as read
    QTest::addColumn<QString>("unfinished");    // the line being written before the last chunk
    QTest::addColumn<int>("percent");           // and what it says of the pass
    QTest::addColumn<QString>("view");          // the step's lines the looks show, abridged
    QTest::addColumn<QByteArray>("logged");     // the step's output in the log

    const QByteArrayList thousand = numbered(1000);
    QTest::newRow("more than one look shows")
        << "Brushwright.log" << thousand << "" << -1
        << "[... 700 lines not shown here: all are in the log]|line 701|...|line 1000"
        << thousand.join();
    QTest::newRow("folder is a file") << "file/Brushwright.log" << numbered(100) << "" << -1
                                      << "line 1|...|line 100" << QByteArray();
    // ericw-tools' progress bar, a CR before each state.
    QTest::newRow("CR inside a chunk")
        << "Brushwright.log"
        << QByteArrayList{"Lighting\n[  0%]  ...\r[ 33%]  est: 00:00:02\r[ 47%]  est:", " 00:00:01",
                          "\r[100%] time elapsed: 00:00:03\n"}
        << "[ 47%]  est: 00:00:01" << 47 << "Lighting|[100%] time elapsed: 00:00:03"
        << QByteArray("Lighting\n[100%] time elapsed: 00:00:03\n");
    // As a Windows program ends its lines.
    QTest::newRow("CR LF, and one cut between reads")
        << "Brushwright.log" << QByteArrayList{"one\r\n\r\ntwo\r", "\n"} << "two" << -1
        << "one||two" << QByteArray("one\n\ntwo\n");
    // id's tools: a digit for each tenth of a pass.
    QTest::newRow("bare CR at the very end")
        << "Brushwright.log" << QByteArrayList{"0...1...2...", "3...\r"} << "0...1...2..." << 20
        << "0...1...2...3..." << QByteArray("0...1...2...3...\n");
}

void tst_CompileOutput::output()
{
    QFETCH(QString, logName);
    QFETCH(QByteArrayList, chunks);
    QFETCH(QString, unfinished);
    QFETCH(int, percent);
    QFETCH(QString, view);
    QFETCH(QByteArray, logged);
    QTemporaryDir dir;
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const bool writable = !logName.startsWith("file/");

    run::CompileOutput output({"bsp", "vis"}, dir.filePath(logName), 200, 20000);
    QCOMPARE(output.logProblem().isEmpty(), writable);
    QSignalSpy done(&output, &run::CompileOutput::done);
    output.stepStarted(0, "qbsp3 box");
    // As the runner passes the chunks on.
    run::LineSplitter splitter;
    for (const QByteArray& chunk : chunks.first(chunks.size() - 1))
        output.linesRead(splitter.add(chunk));
    const std::optional<run::ViewUpdate> look = output.take();
    QVERIFY(look.has_value());
    QCOMPARE(look->unfinished, unfinished);
    QCOMPARE(look->percent, percent);
    QVERIFY(!output.take().has_value());
    output.linesRead(splitter.add(chunks.last()));
    output.linesRead(splitter.finish());
    output.stepFinished(0, {run::StepState::Failed, "leak", 1200, {}, {}});
    output.stepStarted(1, "qvis3 box");
    output.stepFinished(1, {run::StepState::Done, {}, 300, {}, {}});
    output.finished(false);
    const std::optional<run::ViewUpdate> last = output.take();
    QVERIFY(last.has_value() && last->unfinished.isEmpty());

    // The view without the line the first look showed as being written;
    // each run of numbered lines as its first, "..." and its last.
    QStringList shown;
    for (const QString& line : (look->text + '\n' + last->text).split('\n')) {
        const bool numbered = line.startsWith("line ");
        if (numbered && shown.size() > 1 && shown.last().startsWith("line ") &&
            shown.at(shown.size() - 2) == "...")
            shown.last() = line;
        else if (numbered && !shown.isEmpty() && shown.last().startsWith("line "))
            shown << "..." << line;
        else
            shown << line;
    }
    QCOMPARE(shown.join('|'), "> qbsp3 box|" + view + "|*** bsp failed: leak||> qvis3 box");
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().at(1).toString().isEmpty(), writable);
    QCOMPARE(QFile::exists(dir.filePath(logName)), writable);
    if (!writable)
        return;
    QFile log(dir.filePath(logName));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), "\n> qbsp3 box\n" + logged +
                                "*** bsp failed: leak\n\n> qvis3 box\n\n"
                                "bsp: failed: leak in 1.2 s\nvis: done in 0.3 s\n");
}

QTEST_GUILESS_MAIN(tst_CompileOutput)
#include "tst_CompileOutput.moc"
