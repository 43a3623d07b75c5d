// What the engine draws from a spot, through the real program: a map of
// two rooms joined by a bent corridor, compiled with vis by each suite.
// From the first room the view's count leaves out the far room, and with
// the set locked there the far room is empty; the map report's figures
// match a count made here from the visibility lump; a damaged lump is
// drawn whole and said so. And the leak's path over the view of leak.map.
#include "GameFolder.h"
#include "ProgramRun.h"
#include "TestMaps.h"
#include "VirtualDisplay.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

qint32 int32(const QByteArray& b, qint64 at)
{
    qint32 v = 0;
    if (at >= 0 && at + 4 <= b.size())
        std::memcpy(&v, b.constData() + at, 4);
    return v;
}

// Bounded, as the sanitizers' build checks a read of Qt's empty array.
int int16(const QByteArray& b, qint64 at)
{
    qint16 v = 0;
    if (at >= 0 && at + 2 <= b.size())
        std::memcpy(&v, b.constData() + at, 2);
    return v;
}

int uint16(const QByteArray& b, qint64 at)
{
    quint16 v = 0;
    if (at >= 0 && at + 2 <= b.size())
        std::memcpy(&v, b.constData() + at, 2);
    return v;
}

// The IBSP's clusters counted here, from the lumps alone: for each cluster
// with leafs, its faces, its first leaf's centre and its row, expanded byte
// by byte.
struct Counted {
    struct Cluster {
        int cluster = 0, faces = 0;
        QList<double> point;
        QSet<int> sees;
    };
    QList<Cluster> clusters; // those with leafs, in cluster order
    int numClusters = 0;
};

Counted countHere(const QByteArray& b)
{
    const auto lump = [&b](int i) { return std::pair{int32(b, 8 + 8 * i), int32(b, 12 + 8 * i)}; };
    const auto [vis, visLength] = lump(3);
    const auto [leafs, leafsLength] = lump(8);
    const auto [leafFaces, leafFacesLength] = lump(9);
    Counted counted;
    counted.numClusters = int32(b, vis);
    QMap<int, QSet<int>> facesOf;
    QMap<int, QList<double>> pointOf;
    for (qint64 l = 0; l < leafsLength / 28; ++l) {
        const qint64 at = leafs + 28 * l;
        const int cluster = int16(b, at + 4);
        if (cluster < 0)
            continue;
        if (!pointOf.contains(cluster))
            for (int k = 0; k < 3; ++k)
                pointOf[cluster] << (int16(b, at + 8 + 2 * k) + int16(b, at + 14 + 2 * k)) / 2.0;
        QSet<int>& faces = facesOf[cluster];
        for (int i = 0; i < uint16(b, at + 22); ++i)
            faces.insert(uint16(b, leafFaces + 2 * (uint16(b, at + 20) + i)));
    }
    for (auto it = facesOf.cbegin(); it != facesOf.cend(); ++it) {
        Counted::Cluster c;
        c.cluster = it.key();
        c.point = pointOf[it.key()];
        QByteArray row;
        for (qint64 in = vis + int32(b, vis + 4 + 8 * c.cluster);
             row.size() < (counted.numClusters + 7) / 8;) {
            if (b[in] != 0)
                row += b[in++];
            else {
                row += QByteArray(quint8(b[in + 1]), '\0');
                in += 2;
            }
        }
        QSet<int> faces;
        for (int other = 0; other < counted.numClusters; ++other) {
            if (quint8(row[other / 8]) >> (other % 8) & 1) {
                c.sees.insert(other);
                faces += facesOf.value(other);
            }
        }
        c.faces = int(faces.size());
        counted.clusters << c;
    }
    return counted;
}

// "23 faces in the visible set · 16 in the view · cluster 6 · area 1"
QRegularExpressionMatch setLine(const QString& out)
{
    static const QRegularExpression line(
        QStringLiteral("(\\d+) faces in the visible set · (\\d+) in the view · cluster (\\d+)"));
    return line.match(out);
}

} // namespace

class tst_VisibleSets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void twoRooms_data();
    void twoRooms();
    void leakPath();

private:
    QTemporaryDir dir_;
    std::unique_ptr<VirtualDisplay> display_;
};

void tst_VisibleSets::initTestCase()
{
#ifdef _WIN32
    QSKIP("draws on an X display of its own");
#endif
    if (gamefolder::compilersFolder().isEmpty())
        QSKIP("no real compilers: ../shared/compilers is missing");
    display_ = std::make_unique<VirtualDisplay>();
    QVERIFY2(display_->isRunning(), "Xvfb could not be started");
}

void tst_VisibleSets::twoRooms_data()
{
    QTest::addColumn<QString>("suite");
    QTest::newRow("id's tools") << QStringLiteral("id");
    QTest::newRow("q2tools-220") << QStringLiteral("q2tools");
    QTest::newRow("ericw-tools") << QStringLiteral("ericw");
}

void tst_VisibleSets::twoRooms()
{
    QFETCH(QString, suite);
    const QString maps = gamefolder::makeGame(dir_.filePath(suite));
    const QString bsp =
        gamefolder::compile(maps, suite, testmaps::bentCorridorMap(), QStringLiteral("rooms"));
    QVERIFY(!bsp.isEmpty());
    const QByteArray bytes = gamefolder::readFile(bsp);
    const Counted counted = countHere(bytes);
    QVERIFY(counted.numClusters > 2);

    // The report against the count made here.
    const QProcessEnvironment environment = display_->environment();
    const ProgramRun report = runProgram(environment, {"--report", bsp, "--json"});
    const QJsonObject pvs = QJsonDocument::fromJson(report.out.toUtf8())["pvs"].toObject();
    QCOMPARE(pvs["clusters"].toInt(), counted.numClusters);
    QList<Counted::Cluster> heaviest = counted.clusters;
    std::stable_sort(heaviest.begin(), heaviest.end(),
                     [](const auto& a, const auto& b) { return a.faces > b.faces; });
    double sum = 0;
    for (const Counted::Cluster& c : counted.clusters)
        sum += c.faces;
    QCOMPARE(pvs["maxFaces"].toInt(), heaviest.first().faces);
    QVERIFY(qAbs(pvs["meanFaces"].toDouble() - sum / double(counted.clusters.size())) < 1e-9);
    const QJsonArray worst = pvs["worst"].toArray();
    QCOMPARE(worst.size(), qMin(qsizetype(10), heaviest.size()));
    for (qsizetype i = 0; i < worst.size(); ++i) {
        const QJsonObject w = worst[i].toObject();
        QCOMPARE(w["cluster"].toInt(), heaviest[i].cluster);
        QCOMPARE(w["faces"].toInt(), heaviest[i].faces);
        QCOMPARE(w["point"].toVariant().toList().size(), 3);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(w["point"].toArray()[k].toDouble(), heaviest[i].point[k]);
    }

    // From room A (the player start): the set is A's cluster's, and none of
    // room B's clusters is in it.
    const QString fromA = dir_.filePath(suite + QStringLiteral("-a.png"));
    const ProgramRun a = runProgram(environment, {"--view", bsp, "--shot", fromA});
    QVERIFY2(a.exitCode == 0, qPrintable(a.err));
    const QRegularExpressionMatch line = setLine(a.out);
    QVERIFY2(line.hasMatch(), qPrintable(a.out));
    const int cluster = line.captured(3).toInt();
    const auto mine = std::find_if(counted.clusters.cbegin(), counted.clusters.cend(),
                                   [cluster](const auto& c) { return c.cluster == cluster; });
    QVERIFY(mine != counted.clusters.cend());
    QCOMPARE(line.captured(1).toInt(), mine->faces);
    int roomB = 0;
    for (const Counted::Cluster& c : counted.clusters) {
        const double x = c.point[0] / testmaps::corridorCell,
                     y = c.point[1] / testmaps::corridorCell;
        if (x > 8 && x < 12 && y > 5 && y < 9 && ++roomB)
            QVERIFY2(!mine->sees.contains(c.cluster), qPrintable(QString::number(c.cluster)));
    }
    QVERIFY(roomB > 0);

    // In room B with the set locked in room A: nothing of B is drawn, only
    // the void's colour.
    const QString locked = dir_.filePath(suite + QStringLiteral("-b.png"));
    const ProgramRun b = runProgram(environment, {"--view", bsp, "--shot", locked, "--camera",
                                                  "640 448 64 0 0", "--lock", "128 128 54"});
    QVERIFY2(b.exitCode == 0, qPrintable(b.err));
    const QImage empty(locked);
    int drawn = 0;
    for (int y = 0; y < empty.height(); y += 2) {
        for (int x = 0; x < empty.width(); x += 2)
            drawn += empty.pixel(x, y) != qRgb(13, 13, 15);
    }
    QCOMPARE(drawn, 0);

    // A damaged visibility lump: cluster 0's row past the lump's end.
    QByteArray damaged = bytes;
    const qint32 far = 1 << 30;
    std::memcpy(damaged.data() + int32(bytes, 8 + 8 * 3) + 4, &far, 4);
    const QString broken = maps + QStringLiteral("/damaged.bsp");
    gamefolder::writeFile(broken, damaged);
    const ProgramRun whole = runProgram(environment, {"--report", broken, "--json"});
    QCOMPARE(whole.exitCode, report.exitCode);
    QVERIFY(QJsonDocument::fromJson(whole.out.toUtf8())["pvs"].isNull());
    QVERIFY2(whole.err.contains(QStringLiteral("warning: cluster 0's row in the visibility lump "
                                               "runs past its end")),
             qPrintable(whole.err));
    const ProgramRun everything = runProgram(
        environment, {"--view", broken, "--shot", dir_.filePath(suite + QStringLiteral("-d.png"))});
    QVERIFY2(everything.out.contains(QStringLiteral("vis damaged: everything drawn")),
             qPrintable(everything.out));
}

void tst_VisibleSets::leakPath()
{
    // id's qbsp3 writes the .bsp and leak.lin beside the .map.
    const QString maps = gamefolder::makeGame(dir_.filePath(QStringLiteral("leak")));
    const QString bsp = gamefolder::compile(
        maps, QStringLiteral("id"),
        gamefolder::readFile(gamefolder::compilersFolder() + QStringLiteral("/testmap/leak.map")),
        QStringLiteral("leak"));
    QVERIFY(!bsp.isEmpty() && QFile::exists(maps + QStringLiteral("/leak.lin")));
    const QString shot = dir_.filePath(QStringLiteral("leak.png"));
    const ProgramRun run = runProgram(
        display_->environment(), {"--view", bsp, "--shot", shot, "--camera", "0 -200 400 90 45"});
    QVERIFY2(run.out.contains(QStringLiteral("The map leaks from info_player_start at (0 0 32)")),
             qPrintable(run.out + run.err));
    const QImage picture(shot);
    int red = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
        }
    }
    QVERIFY2(red > 200, qPrintable(QString::number(red)));
}

QTEST_GUILESS_MAIN(tst_VisibleSets)
#include "tst_VisibleSets.moc"
