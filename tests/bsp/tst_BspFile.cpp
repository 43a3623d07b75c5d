// The .bsp reader and the map report over the real compilers' output: every
// count as ericw-tools' bspinfo prints it for the same file, a map past the
// original engine's model slots through the real program, q2tool's QBSP,
// and broken variants of a real file.
#include "../support/TestMaps.h"
#include "bsp/BspFile.h"
#include "platform/Failure.h"
#include "report/EngineLimits.h"
#include "report/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <functional>

namespace {

QString compilersFolder()
{
    const QString folder = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    return QFileInfo(folder + QStringLiteral("/linux/q2tool")).isExecutable() ? folder : QString();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return process.readAll();
}

// Compiles name.map (text) in a game folder under root with a suite: "id",
// "q2tools", "ericw"; q2tool's bsp stage takes extra switches. The .bsp's
// path; empty (and a failed check) where none was written.
QString compile(const QString& root, const QString& suite, const QByteArray& text,
                const QString& name, const QStringList& bspSwitches = {}, bool bspOnly = false)
{
    const QString linux = compilersFolder() + QStringLiteral("/linux/");
    // id's tools want "quake2" in the path.
    const QString game = root + QStringLiteral("/quake2/baseq2/");
    const QString maps = game + QStringLiteral("maps");
    QDir().mkpath(maps);
    QFile::copy(compilersFolder() + QStringLiteral("/testmap/colormap.pcx"),
                game + QStringLiteral("pics/colormap.pcx"));
    QDir().mkpath(game + QStringLiteral("pics"));
    QFile::copy(compilersFolder() + QStringLiteral("/testmap/colormap.pcx"),
                game + QStringLiteral("pics/colormap.pcx"));
    QFile map(maps + QLatin1Char('/') + name + QStringLiteral(".map"));
    if (!map.open(QIODevice::WriteOnly))
        return {};
    map.write(text);
    map.close();
    QList<std::pair<QString, QStringList>> steps;
    if (suite == QStringLiteral("id")) {
        steps = {{linux + QStringLiteral("qbsp3"), {name}},
                 {linux + QStringLiteral("qvis3"), {name}},
                 {linux + QStringLiteral("qrad3"), {name}}};
    } else if (suite == QStringLiteral("q2tools")) {
        steps = {{linux + QStringLiteral("q2tool"),
                  QStringList{QStringLiteral("-bsp")} + bspSwitches + QStringList{name}},
                 {linux + QStringLiteral("q2tool"), {QStringLiteral("-vis"), name}},
                 {linux + QStringLiteral("q2tool"), {QStringLiteral("-rad"), name}}};
    } else {
        steps = {{linux + QStringLiteral("ericw/qbsp"), {QStringLiteral("-q2bsp"), name}},
                 {linux + QStringLiteral("ericw/vis"), {name}},
                 {linux + QStringLiteral("ericw/light"), {name}}};
    }
    if (bspOnly)
        steps = steps.mid(0, 1);
    for (const auto& [program, arguments] : steps)
        run(program, arguments, maps);
    const QString bsp = maps + QLatin1Char('/') + name + QStringLiteral(".bsp");
    return QFileInfo::exists(bsp) ? bsp : QString();
}

// bspinfo's table: "count name bytes" lines, and "name bytes" for the byte
// lumps (lightdata, visdata, entdata). It writes files beside the .bsp, so
// it reads a copy.
QMap<QString, qint64> bspinfo(const QString& bsp)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("copy.bsp"));
    QFile::copy(bsp, copy);
    const QString out = QString::fromUtf8(
        run(compilersFolder() + QStringLiteral("/linux/ericw/bspinfo"), {copy}, scratch.path()));
    QMap<QString, qint64> figures;
    static const QRegularExpression counted(QStringLiteral("^\\s*(\\d+) (\\w+)\\s+\\d+$"));
    static const QRegularExpression bytes(QStringLiteral("^\\s+(\\w+)\\s+(\\d+)$"));
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (const auto m = counted.match(line); m.hasMatch())
            figures[m.captured(2)] = m.captured(1).toLongLong();
        else if (const auto b = bytes.match(line); b.hasMatch())
            figures[b.captured(1)] = b.captured(2).toLongLong();
    }
    return figures;
}

// Bounded: a damaged copy may be shorter than the place asked for.
void setInt(QByteArray& bytes, qint64 at, qint32 value)
{
    if (at >= 0 && at + qint64(sizeof value) <= bytes.size())
        std::memcpy(bytes.data() + at, &value, sizeof value);
}

qint32 intAt(const QByteArray& bytes, qint64 at)
{
    qint32 value = 0;
    if (at >= 0 && at + qint64(sizeof value) <= bytes.size())
        std::memcpy(&value, bytes.constData() + at, sizeof value);
    return value;
}

qint64 lumpOffset(const QByteArray& bytes, int lump)
{
    return intAt(bytes, 8 + 8 * lump);
}

} // namespace

class TestBspFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void realCompilers_data();
    void realCompilers();
    void overTheOriginalEngine();
    void brokenFiles_data();
    void brokenFiles();

private:
    QTemporaryDir folder_;
    QByteArray box_; // q2tool's box.bsp
};

void TestBspFile::initTestCase()
{
    if (compilersFolder().isEmpty())
        QSKIP("no real compilers: BRUSHWRIGHT_COMPILERS lacks linux/q2tool");
    const QString bsp = compile(folder_.filePath(QStringLiteral("box")), QStringLiteral("q2tools"),
                                readAll(compilersFolder() + QStringLiteral("/testmap/box.map")),
                                QStringLiteral("box"));
    box_ = readAll(bsp);
    QVERIFY(!box_.isEmpty());
}

void TestBspFile::realCompilers_data()
{
    QTest::addColumn<QString>("suite");
    QTest::newRow("id qbsp3 qvis3 qrad3") << QStringLiteral("id");
    QTest::newRow("q2tool -bsp -vis -rad") << QStringLiteral("q2tools");
    QTest::newRow("ericw qbsp -q2bsp vis light") << QStringLiteral("ericw");
}

void TestBspFile::realCompilers()
{
    QFETCH(QString, suite);
    const QString bsp = compile(folder_.filePath(suite), suite,
                                readAll(compilersFolder() + QStringLiteral("/testmap/box.map")),
                                QStringLiteral("box"));
    QVERIFY(!bsp.isEmpty());
    const bsp::BspInfo info = bsp::readBspFile(bsp);
    const QMap<QString, qint64> expected = bspinfo(bsp);
    const std::pair<const char*, int> names[] = {{"models", bsp::Models},
                                                 {"planes", bsp::Planes},
                                                 {"vertexes", bsp::Vertexes},
                                                 {"nodes", bsp::Nodes},
                                                 {"texinfos", bsp::Texinfo},
                                                 {"faces", bsp::Faces},
                                                 {"leafs", bsp::Leafs},
                                                 {"leaffaces", bsp::LeafFaces},
                                                 {"leafbrushes", bsp::LeafBrushes},
                                                 {"edges", bsp::Edges},
                                                 {"surfedges", bsp::SurfEdges},
                                                 {"brushes", bsp::Brushes},
                                                 {"brushsides", bsp::BrushSides},
                                                 {"areas", bsp::Areas},
                                                 {"areaportals", bsp::AreaPortals},
                                                 {"lightdata", bsp::Lighting},
                                                 {"entdata", bsp::Entities}};
    for (const auto& [name, lump] : names) {
        QVERIFY2(expected.contains(QLatin1String(name)), name);
        QCOMPARE(info.counts[std::size_t(lump)], expected[QLatin1String(name)]);
    }
    // bspinfo's visdata leaves out the cluster count and the offsets.
    const QByteArray bytes = readAll(bsp);
    const qint64 clusters = intAt(bytes, lumpOffset(bytes, bsp::Visibility));
    QCOMPARE(info.counts[bsp::Visibility] - 4 - 8 * clusters, expected[QStringLiteral("visdata")]);
    QCOMPARE(info.format, QStringLiteral("IBSP"));
    QCOMPARE(info.entities, 3);
    QCOMPARE(info.bounds, 272);
    QCOMPARE(info.lightmapPages, 1);
    QCOMPARE(info.largestExtent, 224);
}

void TestBspFile::overTheOriginalEngine()
{
    const QString ibsp =
        compile(folder_.filePath(QStringLiteral("crowd")), QStringLiteral("q2tools"),
                testmaps::crowdedMap(), QStringLiteral("crowd"), {}, true);
    const QString qbsp =
        compile(folder_.filePath(QStringLiteral("crowdq")), QStringLiteral("q2tools"),
                testmaps::crowdedMap(), QStringLiteral("crowd"), {QStringLiteral("-qbsp")}, true);
    QVERIFY(!ibsp.isEmpty() && !qbsp.isEmpty());

    // The wide elements read as the narrow ones: the same figures.
    const bsp::BspInfo wide = bsp::readBspFile(qbsp), narrow = bsp::readBspFile(ibsp);
    QCOMPARE(wide.format, QStringLiteral("QBSP"));
    QCOMPARE(wide.counts, narrow.counts);
    QCOMPARE(wide.largestExtent, narrow.largestExtent);
    QVERIFY(!report::formatSupported(wide.format, report::Engine::Yamagi));
    QVERIFY(report::formatSupported(wide.format, report::Engine::Q2pro));
    // Two func_areaportal, which q2tool writes as 4 areaportals: (4 - 1) / 2
    // would say 1, so the report counts the entities.
    QCOMPARE(narrow.funcAreaportals, 2);
    QCOMPARE(narrow.counts[bsp::AreaPortals], 4);
    const QList<report::LimitRow> q2pro = report::limitRows(narrow, report::Engine::Q2pro);
    QCOMPARE(q2pro[2].name, QStringLiteral("models"));
    QCOMPARE(q2pro[2].state, report::LimitState::Ok);

    // The real program, with no display at all.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("BRUSHWRIGHT_EXE"),
                  {QStringLiteral("--report"), ibsp, QStringLiteral("--engine"),
                   QStringLiteral("vanilla"), QStringLiteral("--json")});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 1);
    QJsonParseError error;
    const QJsonObject json =
        QJsonDocument::fromJson(program.readAllStandardOutput(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(json[QStringLiteral("bsp")].toString(), ibsp);
    QVERIFY(json[QStringLiteral("map")].isNull());
    QCOMPARE(json[QStringLiteral("format")].toString(), QStringLiteral("IBSP"));
    const QJsonObject models = json[QStringLiteral("limits")].toArray()[2].toObject();
    QCOMPARE(models[QStringLiteral("name")].toString(), QStringLiteral("models"));
    QCOMPARE(models[QStringLiteral("count")].toInt(), 301);
    QCOMPARE(models[QStringLiteral("max")].toInt(), 256);
    QCOMPARE(models[QStringLiteral("state")].toString(), QStringLiteral("over"));

    // A broken file: exit 2 and a message naming it.
    const QString broken = folder_.filePath(QStringLiteral("broken.bsp"));
    writeAll(broken, box_.left(100));
    program.start(qEnvironmentVariable("BRUSHWRIGHT_EXE"), {QStringLiteral("--report"), broken});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 2);
    const QString message = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(message.contains(broken + QStringLiteral(": 100 bytes, shorter than")),
             qPrintable(message));
    QVERIFY(program.readAllStandardOutput().isEmpty());
}

void TestBspFile::brokenFiles_data()
{
    QTest::addColumn<std::function<void(QByteArray&)>>("change");
    QTest::addColumn<QString>("message"); // empty: the file still reads
    using Change = std::function<void(QByteArray&)>;
    const auto firstFace = [](const QByteArray& b) { return lumpOffset(b, bsp::Faces); };
    const auto firstSurfedge = [firstFace](const QByteArray& b) {
        return lumpOffset(b, bsp::SurfEdges) + 4 * qint64(intAt(b, firstFace(b) + 4));
    };
    QTest::newRow("truncated header")
        << Change([](QByteArray& b) { b.truncate(100); })
        << QStringLiteral("100 bytes, shorter than a .bsp header (160)");
    QTest::newRow("wrong magic") << Change([](QByteArray& b) { b.replace(0, 4, "PAK\x01"); })
                                 << QStringLiteral("it starts with \"PAK?\"");
    QTest::newRow("wrong version") << Change([](QByteArray& b) { setInt(b, 4, 29); })
                                   << QStringLiteral("IBSP version 29, not Quake II's 38");
    QTest::newRow("lump past the end")
        << Change([](QByteArray& b) { setInt(b, 8 + 8 * bsp::Lighting + 4, 1 << 30); })
        << QStringLiteral("lump 7 (lighting) ends past the file's end");
    QTest::newRow("negative offset")
        << Change([](QByteArray& b) { setInt(b, 8 + 8 * bsp::Faces, -20); })
        << QStringLiteral("lump 6 (faces) has a negative offset");
    QTest::newRow("length not a multiple") << Change([](QByteArray& b) {
        setInt(b, 12 + 8 * bsp::Faces, intAt(b, 12 + 8 * bsp::Faces) - 1);
    }) << QStringLiteral("lump 6 (faces) is 1279 bytes, not a multiple of its element's 20");
    QTest::newRow("face's edges out of range")
        << Change([firstFace](QByteArray& b) { setInt(b, firstFace(b) + 4, 1000000); })
        << QStringLiteral("face 0 has edges 1000000 to");
    QTest::newRow("face's texinfo out of range")
        << Change([firstFace](QByteArray& b) { b[firstFace(b) + 10] = 0x7f; })
        << QStringLiteral("face 0 has texinfo");
    QTest::newRow("surfedge out of range")
        << Change([firstSurfedge](QByteArray& b) { setInt(b, firstSurfedge(b), -2147483647 - 1); })
        << QStringLiteral("face 0 uses edge 2147483648, out of range");
    QTest::newRow("edge's vertex out of range") << Change([](QByteArray& b) {
        for (qint64 e = 0; e < intAt(b, 12 + 8 * bsp::Edges); e += 2)
            b[lumpOffset(b, bsp::Edges) + e + 1] = char(0xff);
    }) << QStringLiteral("uses vertex");
    QTest::newRow("world bounds not numbers")
        << Change([](QByteArray& b) { setInt(b, lumpOffset(b, bsp::Models), 0x7fc00000); })
        << QStringLiteral("the world model's bounds are not numbers");
    QTest::newRow("BSPX lump noted") << Change([](QByteArray& b) {
        while (b.size() % 4)
            b.append('\0');
        const qint64 at = b.size();
        b.append("BSPX", 4).append(4 + 32, '\0');
        setInt(b, at + 4, 1);
        std::memcpy(b.data() + at + 8, "LMSHIFT", 7);
        setInt(b, at + 32, 160);
        setInt(b, at + 36, 8);
    }) << QString();
    QTest::newRow("BSPX directory past the end") << Change([](QByteArray& b) {
        while (b.size() % 4)
            b.append('\0');
        b.append("BSPX\x09\0\0\0", 8);
    }) << QStringLiteral("its BSPX directory (9 lumps) ends past the file's end");
}

void TestBspFile::brokenFiles()
{
    QFETCH(std::function<void(QByteArray&)>, change);
    QFETCH(QString, message);
    QByteArray bytes = box_;
    change(bytes);
    try {
        const bsp::BspInfo info = bsp::readBsp(bytes);
        QVERIFY2(message.isEmpty(), qPrintable(QStringLiteral("read, expected: ") + message));
        QCOMPARE(info.bspx.size(), 1);
        QCOMPARE(info.bspx[0], (bsp::BspxLump{QStringLiteral("LMSHIFT"), 160, 8}));
    } catch (const Failure& failure) {
        QVERIFY2(!message.isEmpty() && failure.text().contains(message),
                 qPrintable(failure.text()));
    }
}

QTEST_GUILESS_MAIN(TestBspFile)
#include "tst_BspFile.moc"
