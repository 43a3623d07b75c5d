// The leak path from the point files the three compiler suites really write
// on the test map, and from point files with junk in them.
#include "leak/LeakPath.h"
#include "map/MapReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class tst_LeakPath : public QObject {
    Q_OBJECT

private slots:
    void leakPath_data();
    void leakPath();
};

namespace {

// The compiler's output; a failed start or exit fails the test.
QString compile(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + process.errorString();
    return QString::fromUtf8(process.readAll());
}

} // namespace

void tst_LeakPath::leakPath_data()
{
    QTest::addColumn<QString>("source"); // a compiler, or "file": the content below
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("sentence"); // empty: no leak found
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<double>("length"); // negative: not checked
    QTest::addColumn<QString>("fileName");

    const QString fromStart =
        "The map leaks from info_player_start at (0 0 32) out to (-136 648 288).";
    // 408.70 + 272 + 160 units, from the points q2tool and qbsp3 write.
    const double idLength = std::sqrt(8.0 * 8 + 376.0 * 376 + 160.0 * 160) + 272 + 160;
    QTest::newRow("q2tool") << "q2tool" << QByteArray() << fromStart << 4 << 0 << idLength
                            << "leak.pts";
    QTest::newRow("id qbsp3") << "qbsp3" << QByteArray() << fromStart << 4 << 0 << idLength
                              << "leak.lin";
    const QString fromLight = "The map leaks from light at (0 0 160) out to (-284 -272 -20).";
    QTest::newRow("ericw qbsp") << "ericw" << QByteArray() << fromLight << 6 << 0 << -1.0
                                << "leak.pts";
    QTest::newRow("ericw qbsp, its line not seen")
        << "ericw without line" << QByteArray() << fromLight << 6 << 0 << -1.0 << "leak.pts";

    QTest::newRow("one point") << "file" << QByteArray("0 0 32\n")
                               << "The map leaks from info_player_start at (0 0 32) out to (0 0 "
                                  "32)."
                               << 1 << 0 << 0.0 << "leak.lin";
    QTest::newRow("junk, NaN, absurd, blank, CR LF")
        << "file" << QByteArray("x y z\r\n0 0 32\r\nnan 0 0\n\n0 3 36.5\n1e9 0 0\n1 2\n")
        << "The map leaks from info_player_start at (0 0 32) out to (0 3 36.5)." << 2 << 4
        << std::sqrt(9 + 4.5 * 4.5) << "leak.lin";
    QTest::newRow("no entity at either end: the file read void first")
        << "file" << QByteArray("100 100 100\n200.25 100 100")
        << "The map leaks from (200.25 100 100) out to (100 100 100)." << 2 << 0 << 100.25
        << "leak.lin";
    QTest::newRow("only junk") << "file" << QByteArray("leaked\n")
                               << "The map leaks, but its point file holds no points." << 0 << 1
                               << 0.0 << "leak.lin";
    QByteArray million = "-136 648 288\n";
    for (int i = 0; i < 999998; ++i)
        million += "8 8 8\n";
    million += "0 0 32\n";
    QTest::newRow("a million points")
        << "file" << million << fromStart << 1000000 << 0 << -1.0 << "leak.lin";
    QTest::newRow("older than the map")
        << "old" << QByteArray("0 0 32\n") << QString() << 0 << 0 << -1.0 << QString();
}

void tst_LeakPath::leakPath()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, sentence);
    QFETCH(int, points);
    QFETCH(int, skipped);
    QFETCH(double, length);
    QFETCH(QString, fileName);

    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (compilers.isEmpty() || !QFileInfo::exists(compilers + "/testmap/leak.map"))
        QSKIP("no compilers: BRUSHWRIGHT_COMPILERS does not name ../shared/compilers");
    QTemporaryDir dir;
    const QString maps = dir.filePath("quake2/baseq2/maps");
    QVERIFY(QDir().mkpath(maps) && QDir().mkpath(dir.filePath("quake2/baseq2/pics")));
    QVERIFY(QFile::copy(compilers + "/testmap/leak.map", maps + "/leak.map"));
    QVERIFY(QFile::copy(compilers + "/testmap/colormap.pcx",
                        dir.filePath("quake2/baseq2/pics/colormap.pcx")));

    QString occupant;
    const QString linux = compilers + "/linux/";
    if (source == "q2tool" || source == "qbsp3") {
        const QStringList arguments =
            source == "q2tool" ? QStringList{"-bsp", "leak"} : QStringList{"leak"};
        QVERIFY(compile(linux + source, arguments, maps).contains("leaked"));
    } else if (source.startsWith("ericw")) {
        const QString output = compile(linux + "ericw/qbsp", {"-q2bsp", "leak"}, maps);
        QVERIFY2(output.contains("Leak file written"), qPrintable(output));
        if (source == "ericw")
            occupant = output.split('\n').filter("Reached occupant").value(0);
        QVERIFY(source != "ericw" || !occupant.isEmpty());
    } else {
        QFile file(maps + "/leak.lin");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(content) == content.size() && file.flush());
        if (source == "old")
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
    }

    const map::MapFile map = map::readMapFile(maps + "/leak.map");
    const auto leak = leak::findLeak(map, maps + "/leak.map", maps + "/leak.bsp", occupant);
    QCOMPARE(leak.has_value(), !sentence.isEmpty());
    if (!leak)
        return;
    QCOMPARE(leak::leakSentence(*leak), sentence);
    QCOMPARE(leak->points, points);
    QCOMPARE(leak->skipped, skipped);
    QCOMPARE(leak->file, QFileInfo(maps + "/" + fileName).absoluteFilePath());
    if (length >= 0)
        QVERIFY2(std::abs(leak->length - length) < 1e-6, qPrintable(QString::number(leak->length)));
}

QTEST_GUILESS_MAIN(tst_LeakPath)
#include "tst_LeakPath.moc"
