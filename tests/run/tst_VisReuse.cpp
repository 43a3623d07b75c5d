// Vis reused: the decision over real files, one doubt a row; the kept lump
// written into a .bsp with every other lump kept; and real compiles with
// each suite, whose reused .bsp must equal a full compile lump for lump.
#include "../support/TestMaps.h"
#include "bsp/BspFile.h"
#include "bsp/LumpReplacement.h"
#include "platform/Failure.h"
#include "run/CompileOutput.h"
#include "run/StepRunner.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using run::StepState;
using Kind = CompileStep::Kind;

namespace {

QByteArray le(qint32 value)
{
    const qint32 bytes = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&bytes), 4);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// An IBSP whose lumps lie in the order given (standard lumps by number),
// each with its bytes; BSPX lumps after them where named.
QByteArray bspOf(const QList<std::pair<int, QByteArray>>& lumps,
                 const QList<std::pair<QByteArray, QByteArray>>& bspx = {})
{
    QByteArray header = "IBSP" + le(38) + QByteArray(8 * bsp::LumpCount, '\0');
    QByteArray body;
    const auto place = [&](const QByteArray& bytes) {
        body.append((4 - body.size() % 4) % 4, '\0');
        const qint32 at = qint32(header.size() + body.size());
        body += bytes;
        return at;
    };
    for (const auto& [lump, bytes] : lumps) {
        const qint32 at = place(bytes);
        header.replace(8 + 8 * lump, 8, le(at) + le(qint32(bytes.size())));
    }
    if (!bspx.isEmpty()) {
        QByteArray directory = "BSPX" + le(qint32(bspx.size()));
        const qint32 directoryAt = place(directory + QByteArray(32 * bspx.size(), '\0'));
        for (qsizetype i = 0; i < bspx.size(); ++i) {
            const qint32 at = place(bspx.at(i).second);
            body.replace(directoryAt - header.size() + 8 + 32 * i, 32,
                         bspx.at(i).first.leftJustified(24, '\0') + le(at) +
                             le(qint32(bspx.at(i).second.size())));
        }
    }
    return header + body;
}

// One node over two leafs, in the clusters given; the world model's head
// node is node 0.
QByteArray worldOf(qint16 first, qint16 second, const QByteArray& visibility)
{
    const auto leaf = [](qint16 cluster) {
        return le(1) + QByteArray(reinterpret_cast<const char*>(&cluster), 2) +
               QByteArray(22, '\0');
    };
    const QByteArray node = le(0) + le(-1) + le(-2) + QByteArray(16, '\0');
    const QByteArray model = QByteArray(36, '\0') + le(0) + le(0) + le(0);
    return bspOf({{bsp::Models, model},
                  {bsp::Nodes, node},
                  {bsp::Visibility, visibility},
                  {bsp::Leafs, leaf(first) + leaf(second)},
                  {bsp::Entities, "{\n\"classname\" \"worldspawn\"\n}\n"}});
}

QByteArray lumpOf(const QByteArray& file, int lump)
{
    const bsp::BspLayout layout = bsp::readLayout(file.constData(), file.size());
    return file.mid(layout.offset[std::size_t(lump)], layout.length[std::size_t(lump)]);
}

// A compile's steps for a suite, with the real compilers in folder.
QList<run::RunStep> stepsFor(const QString& suite, const QString& compilers, const QString& maps)
{
    const QString linux = compilers + "/linux/";
    QList<std::pair<QString, QStringList>> programs;
    if (suite == "id")
        programs = {
            {linux + "qbsp3", {"map"}}, {linux + "qvis3", {"map"}}, {linux + "qrad3", {"map"}}};
    else if (suite == "q2tools")
        programs = {{linux + "q2tool", {"-bsp", "map"}},
                    {linux + "q2tool", {"-vis", "map"}},
                    {linux + "q2tool", {"-rad", "map"}}};
    else
        programs = {{linux + "ericw/qbsp", {"-q2bsp", "map"}},
                    {linux + "ericw/vis", {"map"}},
                    // Its threads would pack the lightmaps in the order they end
                    // them: two full compiles differ there.
                    {linux + "ericw/light", {"-threads", "1", "map"}}};
    QList<run::RunStep> steps;
    const Kind kinds[] = {Kind::Bsp, Kind::Vis, Kind::Light};
    for (int i = 0; i < 3; ++i) {
        run::Launch launch;
        launch.program = programs.at(i).first;
        launch.arguments = programs.at(i).second;
        launch.workingFolder = maps;
        steps << run::RunStep{kinds[i], launch, "map"};
    }
    return steps;
}

} // namespace

class tst_VisReuse : public QObject {
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void lumpReplaced_data();
    void lumpReplaced();
    void realCompile_data();
    void realCompile();

private:
    // Each step's result, and its state as the step list shows it.
    QList<std::pair<run::StepResult, QString>>
    compile(const QList<run::RunStep>& steps, const std::optional<run::VisReuseSettings>& reuse);
};

// One compile keeps its vis; the next, with one thing changed, decides.
void tst_VisReuse::decision_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("why"); // of the second compile's vis
    const char* rows[][2] = {
        {"none", "portals unchanged since"},
        {"portals", "portals changed"},
        {"switch", "switches changed"},
        {"suite", "suite changed"},
        {"damaged cache", "cache damaged"},
        {"cache of another version", "other version"},
        {"not a portal file", "not a portal file"},
        {"no portal file", "no portal file"},
        {"leak", "bsp step failed"},
        {".bsp changed after the bsp step", "bsp changed"},
        {"a leaf in another cluster", "leafs changed"},
        {"broken .bsp", "bsp unreadable"},
        {"always run vis", "always run vis"},
    };
    for (const auto& [change, why] : rows)
        QTest::newRow(change) << change << why;
}

void tst_VisReuse::decision()
{
    QFETCH(QString, change);
    QFETCH(QString, why);
    const QTemporaryDir dir;
    const QString maps = dir.filePath("maps");
    QVERIFY(QDir().mkpath(maps));
    const QByteArray kept = le(1) + le(12) + le(12) + "\x01";
    const QByteArray portals = "PRT1\n2\n1\n4 0 1 (0 0 0 ) (0 0 1 ) (0 1 1 ) (0 1 0 )\n";
    run::VisReuseSettings settings{dir.filePath("cache"), maps + "/map.map", "q2tools", {}};
    const QString entry = run::visEntryPath(settings.cacheFolder, settings.mapPath);
    run::Launch bspStep, visStep;
    bspStep.program = visStep.program = "q2tool";
    bspStep.arguments = QStringList{"-bsp", "map"};
    visStep.arguments = QStringList{"-vis", "map"};
    bspStep.workingFolder = visStep.workingFolder = maps;
    run::StepResult bsp;
    bsp.state = StepState::Done;
    bsp.milliseconds = 4200;

    // The first compile: bsp, then vis writes its lump, which is kept.
    writeAll(maps + "/map.bsp", worldOf(0, 1, {}));
    writeAll(maps + "/map.prt", portals);
    run::VisReuse first(settings);
    first.bspEnded(bsp, bspStep, "map");
    QVERIFY(!first.tryReuse(visStep));
    QCOMPARE(first.why(), "no earlier vis");
    writeAll(maps + "/map.bsp", worldOf(0, 1, kept));
    QCOMPARE(first.visEnded(bsp, visStep), QString());

    // The second: the bsp step writes the same, but for the change.
    writeAll(maps + "/map.bsp", worldOf(0, change == "a leaf in another cluster" ? 0 : 1, {}));
    writeAll(maps + "/map.prt", change == "portals"             ? portals + "\n"
                                : change == "not a portal file" ? "PRT2\n"
                                                                : portals);
    if (change == "no portal file")
        QFile::remove(maps + "/map.prt");
    if (change == "broken .bsp")
        writeAll(maps + "/map.bsp", "IBSP");
    QByteArray bytes = readAll(entry);
    if (change == "damaged cache")
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x20);
    if (change == "cache of another version")
        bytes = run::visEntryBytes(*run::readVisEntry(entry, settings.mapPath).entry, 0);
    writeAll(entry, bytes);
    settings.suite = change == "suite" ? "ericw" : settings.suite;
    settings.forced = change == "always run vis" ? change : QString();
    bsp.state = change == "leak" ? StepState::Failed : bsp.state;
    run::VisReuse second(settings);
    second.bspEnded(bsp, bspStep, "map");
    if (change == ".bsp changed after the bsp step")
        writeAll(maps + "/map.bsp", worldOf(0, 1, "x"));
    if (change == "switch")
        visStep.arguments.prepend("-fast");

    const QByteArray written = readAll(maps + "/map.bsp");
    const std::optional<run::StepResult> reused = second.tryReuse(visStep);
    QVERIFY2(second.why().startsWith(why), qPrintable(second.why()));
    QCOMPARE(reused.has_value(), change == "none");
    if (!reused) {
        // Nothing is written into a .bsp unless vis is reused.
        QCOMPARE(readAll(maps + "/map.bsp"), written);
        return;
    }
    QCOMPARE(reused->saved, 4200);
    const QByteArray now = readAll(maps + "/map.bsp");
    for (int lump = 0; lump < bsp::LumpCount; ++lump)
        QCOMPARE(lumpOf(now, lump), lump == bsp::Visibility ? kept : lumpOf(written, lump));
}

// The visibility lump replaced where it lies: between others, last before
// BSPX lumps, grown and shrunk by sizes that are no multiple of 4.
void tst_VisReuse::lumpReplaced_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("lump"); // the new visibility lump
    QTest::addColumn<QString>("failure"); // empty: replaced
    const QByteArray planes(40, 'p'), faces(60, 'f'), vis(18, 'v');
    QTest::newRow("empty, between others, grown")
        << bspOf({{bsp::Planes, planes}, {bsp::Visibility, {}}, {bsp::Faces, faces}})
        << QByteArray(14, 'n') << "";
    QTest::newRow("last, with BSPX lumps, shrunk")
        << bspOf({{bsp::Planes, planes}, {bsp::Faces, faces}, {bsp::Visibility, vis}},
                 {{"LMSHIFT", "abcde"}, {"DECOUPLED_LM", QByteArray(9, 'd')}})
        << QByteArray(3, 'n') << "";
    QTest::newRow("first, with BSPX lumps, grown")
        << bspOf({{bsp::Visibility, vis}, {bsp::Planes, planes}, {bsp::Faces, faces}},
                 {{"LMSHIFT", "abcde"}})
        << QByteArray(101, 'n') << "";
    QByteArray overlapping = bspOf({{bsp::Visibility, vis}, {bsp::Faces, faces}});
    const qint32 visAt = qFromLittleEndian<qint32>(overlapping.constData() + 8 + 8 * 3);
    overlapping.replace(8 + 8 * bsp::Planes, 8, le(visAt + 8) + le(20));
    QTest::newRow("sharing bytes with another")
        << overlapping << QByteArray(3, 'n') << "shares its bytes with another lump";
    QByteArray emptyInside = bspOf({{bsp::Planes, planes}, {bsp::Visibility, vis}});
    const qint32 visLast = qFromLittleEndian<qint32>(emptyInside.constData() + 8 + 8 * 3) + 16;
    emptyInside.replace(8 + 8 * bsp::Models, 8, le(visLast) + le(0));
    QTest::newRow("an empty lump pointing into it, shrunk")
        << emptyInside << QByteArray(3, 'n') << "";
    QByteArray inHeader = bspOf({{bsp::Visibility, vis}, {bsp::Faces, faces}});
    inHeader.replace(8 + 8 * bsp::Entities, 8, le(16) + le(8));
    QTest::newRow("another lump in the header")
        << inHeader << QByteArray(3, 'n') << "within the .bsp's header";
    QTest::newRow("not a .bsp") << QByteArray("IBSP") << QByteArray() << "shorter than a .bsp";
}

void tst_VisReuse::lumpReplaced()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, lump);
    QFETCH(QString, failure);
    QByteArray out;
    try {
        out = bsp::withLump(file.constData(), file.size(), bsp::Visibility, lump);
    } catch (const Failure& f) {
        QVERIFY2(!failure.isEmpty() && f.text().contains(failure), qPrintable(f.text()));
        return;
    }
    QVERIFY(failure.isEmpty());
    const bsp::BspLayout before = bsp::readLayout(file.constData(), file.size());
    const bsp::BspLayout after = bsp::readLayout(out.constData(), out.size());
    QCOMPARE(lumpOf(out, bsp::Visibility), lump);
    for (int i = 0; i < bsp::LumpCount; ++i) {
        QCOMPARE(after.offset[std::size_t(i)] % 4, 0);
        if (i != bsp::Visibility)
            QCOMPARE(lumpOf(out, i), lumpOf(file, i));
    }
    QCOMPARE(after.bspx.size(), before.bspx.size());
    for (qsizetype i = 0; i < before.bspx.size(); ++i) {
        QCOMPARE(after.bspx.at(i).name, before.bspx.at(i).name);
        QCOMPARE(out.mid(after.bspx.at(i).offset, after.bspx.at(i).length),
                 file.mid(before.bspx.at(i).offset, before.bspx.at(i).length));
    }
}

QList<std::pair<run::StepResult, QString>>
tst_VisReuse::compile(const QList<run::RunStep>& steps,
                      const std::optional<run::VisReuseSettings>& reuse)
{
    run::StepRunner runner;
    QList<std::pair<run::StepResult, QString>> results(steps.size());
    QStringList notes(steps.size());
    connect(&runner, &run::StepRunner::stepNote, this,
            [&](int index, const QString& note) { notes[index] = note; });
    connect(&runner, &run::StepRunner::stepFinished, this,
            [&](int index, const run::StepResult& result) {
                results[index] = {result, run::resultText(result, notes.at(index))};
            });
    QSignalSpy finished(&runner, &run::StepRunner::finished);
    runner.start(steps, {true, false, reuse});
    [&] { QVERIFY(finished.wait(180000)); }();
    return results;
}

// Compiled once, changed, compiled again with the kept vis; the second
// .bsp against a full compile of the changed map in another folder.
void tst_VisReuse::realCompile_data()
{
    QTest::addColumn<QString>("suite");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("vis"); // the second compile's vis step
    for (const char* suite : {"id", "q2tools", "ericw"}) {
        QTest::addRow("%s, a light's value", suite) << suite << "light"
                                                    << "reused";
        QTest::addRow("%s, a brush moved", suite) << suite << "brush"
                                                  << "done (portals changed)";
    }
}

void tst_VisReuse::realCompile()
{
    QFETCH(QString, suite);
    QFETCH(QString, change);
    QFETCH(QString, vis);
    const QString compilers = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    if (!QFileInfo(compilers + "/linux/q2tool").isExecutable())
        QSKIP("no real compilers: ../shared/compilers is missing");
    const QTemporaryDir dir;
    const auto gameFolder = [&](const QString& name) {
        // id's tools want quake2 in the path and colormap.pcx in the game.
        const QString game = dir.filePath(name + "/quake2/baseq2");
        QDir().mkpath(game + "/maps");
        QDir().mkpath(game + "/pics");
        QFile::copy(compilers + "/testmap/colormap.pcx", game + "/pics/colormap.pcx");
        return game + "/maps";
    };
    const QString maps = gameFolder("mapper"), fresh = gameFolder("fresh");
    const run::VisReuseSettings reuse{dir.filePath("cache"), maps + "/map.map", suite, {}};

    writeAll(maps + "/map.map", testmaps::twoRoomsMap(300));
    auto results = compile(stepsFor(suite, compilers, maps), reuse);
    QCOMPARE(results.at(1).second, "done (no earlier vis)");

    const QByteArray changed =
        testmaps::twoRoomsMap(change == "light" ? 500 : 300, change == "brush" ? 48 : 0);
    writeAll(maps + "/map.map", changed);
    results = compile(stepsFor(suite, compilers, maps), reuse);
    QVERIFY2(results.at(1).second.startsWith(vis), qPrintable(results.at(1).second));
    QCOMPARE(results.at(2).second, "done");
    writeAll(fresh + "/map.map", changed);
    QCOMPARE(compile(stepsFor(suite, compilers, fresh), std::nullopt).at(2).second, "done");
    const QByteArray ours = readAll(maps + "/map.bsp"), full = readAll(fresh + "/map.bsp");
    QVERIFY(!lumpOf(full, bsp::Visibility).isEmpty());
    for (int lump = 0; lump < bsp::LumpCount; ++lump)
        QVERIFY2(lumpOf(ours, lump) == lumpOf(full, lump),
                 qPrintable(QString("lump %1 differs").arg(bsp::lumpName(lump))));
}

QTEST_GUILESS_MAIN(tst_VisReuse)
#include "tst_VisReuse.moc"
