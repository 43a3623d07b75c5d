// Vis reused: a generated hall of pillars, whose vis is most of a full
// compile, compiled by each suite with the real compilers; then a light's
// value changed and compiled again, reusing vis, against a full compile of
// the changed map. Then the check alone (portal digest, leaf clusters, lump
// replacement) on the compiled .bsp grown to about 30 MB.
//
//   brushwright_visreuse COMPILERS [suite[:pillars per side]...]
//
// COMPILERS is the folder with linux/ (qbsp3, qvis3, qrad3, q2tool) and
// linux/ericw/, as ../shared/compilers. By default q2tools:60 id:40
// ericw:56: id's qvis3 stops before 46 ("Vismap expansion overflow", its
// 1 MiB of visibility).
#include "bsp/BspFile.h"
#include "bsp/LumpReplacement.h"
#include "run/StepRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

using Kind = CompileStep::Kind;

QByteArray brush(int x0, int y0, int z0, int x1, int y1, int z1, const char* texture)
{
    const int p[6][9] = {
        {x0, y1, z1, x1, y0, z1, x0, y0, z1}, {x0, y0, z0, x1, y0, z0, x0, y1, z0},
        {x1, y0, z1, x1, y1, z0, x1, y0, z0}, {x0, y0, z0, x0, y1, z0, x0, y0, z1},
        {x0, y1, z0, x1, y1, z0, x0, y1, z1}, {x0, y0, z1, x1, y0, z0, x0, y0, z0}};
    QByteArray text = "{\n";
    for (const auto& q : p) {
        for (int i = 0; i < 9; i += 3)
            text +=
                QStringLiteral("( %1 %2 %3 ) ").arg(q[i]).arg(q[i + 1]).arg(q[i + 2]).toLatin1();
        text += QByteArray(texture) + " 0 0 0 1 1 0 0 0\n";
    }
    return text + "}\n";
}

// An n x n grid of pillars in one low hall, staggered so that sight lines
// run between them in every direction: many portals that see each other.
QByteArray hall(int n, int light)
{
    const int step = 64, height = 128, size = (n + 1) * step;
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    text += brush(-16, -16, -16, size + 16, size + 16, 0, "e1u1/floor1_3");
    text += brush(-16, -16, height, size + 16, size + 16, height + 16, "e1u1/ceil1_1");
    text += brush(-16, -16, 0, 0, size + 16, height, "e1u1/wall1_1");
    text += brush(size, -16, 0, size + 16, size + 16, height, "e1u1/wall1_1");
    text += brush(0, -16, 0, size, 0, height, "e1u1/wall1_1");
    text += brush(0, size, 0, size, size + 16, height, "e1u1/wall1_1");
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int x = step + i * step + (i * 7 + j * 3) % 5 * 4, y = step + j * step;
            text += brush(x, y, 0, x + 16, y + 16, height, "e1u1/wall1_1");
        }
    }
    text += "}\n";
    text += QStringLiteral("{\n\"classname\" \"light\"\n\"origin\" \"%1 %1 112\"\n\"light\" "
                           "\"%2\"\n}\n")
                .arg(size / 2 + 8)
                .arg(light)
                .toLatin1();
    return text + "{\n\"classname\" \"info_player_start\"\n\"origin\" \"32 32 32\"\n}\n";
}

QList<run::RunStep> steps(const QString& suite, const QString& linux, const QString& maps)
{
    // Light without bounces, as a quick lighting pass: vis is what a
    // reuse saves, and it is most of the compile here.
    QList<std::pair<QString, QStringList>> programs;
    if (suite == "id")
        programs = {{linux + "qbsp3", {"map"}},
                    {linux + "qvis3", {"map"}},
                    {linux + "qrad3", {"-bounce", "0", "map"}}};
    else if (suite == "q2tools")
        programs = {{linux + "q2tool", {"-bsp", "map"}},
                    {linux + "q2tool", {"-vis", "map"}},
                    {linux + "q2tool", {"-rad", "-bounce", "0", "map"}}};
    else
        programs = {{linux + "ericw/qbsp", {"-q2bsp", "map"}},
                    {linux + "ericw/vis", {"map"}},
                    {linux + "ericw/light", {"map"}}};
    QList<run::RunStep> list;
    const Kind kinds[] = {Kind::Bsp, Kind::Vis, Kind::Light};
    for (int i = 0; i < 3; ++i) {
        run::Launch launch;
        launch.program = programs.at(i).first;
        launch.arguments = programs.at(i).second;
        launch.workingFolder = maps;
        list << run::RunStep{kinds[i], launch, "map"};
    }
    return list;
}

struct Compile {
    double seconds = 0;
    QStringList states;
};

Compile compile(const QList<run::RunStep>& list, const run::VisReuseSettings& reuse)
{
    run::StepRunner runner;
    Compile result;
    result.states = QStringList(list.size());
    QObject::connect(
        &runner, &run::StepRunner::stepFinished, [&](int index, const run::StepResult& step) {
            result.states[index] = run::stateText(step.state) +
                                   (step.reason.isEmpty() ? QString() : ": " + step.reason);
        });
    QEventLoop loop;
    QObject::connect(&runner, &run::StepRunner::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    runner.start(list, {true, false, reuse});
    loop.exec();
    result.seconds = double(clock.elapsed()) / 1000.0;
    return result;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The check alone, on the .bsp of the last compile grown to ~30 MB through
// its lighting: the medians of the bsp step's note and the reuse.
void checkTimes(const QString& maps, const QString& cache, const QString& suite,
                const QList<run::RunStep>& list)
{
    QFile file(maps + "/map.bsp");
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray small = file.readAll();
    file.close();
    const QByteArray grown = bsp::withLump(small.constData(), small.size(), bsp::Lighting,
                                           QByteArray(30 * 1024 * 1024 - int(small.size()), 'L'));
    std::vector<double> times;
    QString notReused;
    for (int i = 0; i < 15; ++i) {
        writeFile(maps + "/map.bsp", grown);
        QFile portals(maps + "/map.prt");
        if (portals.open(QIODevice::ReadWrite))
            portals.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
        portals.close();
        run::VisReuse reuse({cache, maps + "/map.map", suite, {}});
        run::StepResult done;
        done.state = run::StepState::Done;
        QElapsedTimer clock;
        clock.start();
        reuse.bspEnded(done, list.at(0).launch, "map");
        const bool reused = reuse.tryReuse(list.at(1).launch).has_value();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!reused)
            notReused = reuse.why();
    }
    if (!notReused.isEmpty()) {
        std::printf("check not made: vis not reused (%s)\n", qPrintable(notReused));
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("check on a %.1f MB .bsp (%s): median %.1f ms, min %.1f, max %.1f of %zu\n",
                double(grown.size()) / 1e6, qPrintable(suite), times[times.size() / 2],
                times.front(), times.back(), times.size());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: brushwright_visreuse COMPILERS [pillars] [suites...]\n");
        return 2;
    }
    const QString linux = QDir(arguments.at(1)).absolutePath() + "/linux/";
    QStringList suites = arguments.mid(2);
    if (suites.isEmpty())
        suites = {"q2tools:60", "id:40", "ericw:56"};
    std::printf("%-8s %9s %10s %10s %10s %7s  %s\n", "suite", "pillars", "full s", "changed s",
                "reused s", "ratio", "vis of the reused compile");
    for (const QString& given : suites) {
        const QString suite = given.section(':', 0, 0);
        const int n = given.contains(':') ? given.section(':', 1).toInt() : 56;
        QTemporaryDir dir;
        // id's tools want quake2 in the path and the palette in the game.
        const QString game = dir.filePath("quake2/baseq2");
        QDir().mkpath(game + "/maps");
        QDir().mkpath(game + "/pics");
        QFile::copy(arguments.at(1) + "/testmap/colormap.pcx", game + "/pics/colormap.pcx");
        const QString maps = game + "/maps", cache = dir.filePath("cache");
        const QList<run::RunStep> list = steps(suite, linux, maps);
        writeFile(maps + "/map.map", hall(n, 300));
        const Compile first = compile(list, {cache, maps + "/map.map", suite, {}});
        writeFile(maps + "/map.map", hall(n, 500));
        const Compile again = compile(list, {cache, maps + "/map.map", suite, {}});
        const Compile full = compile(list, {cache, maps + "/map.map", suite, "bench"});
        std::printf("%-8s %9s %10.1f %10.1f %10.1f %7.2f  %s\n", qPrintable(suite),
                    qPrintable(QStringLiteral("%1 x %1").arg(n)), first.seconds, full.seconds,
                    again.seconds, again.seconds / full.seconds, qPrintable(again.states.at(1)));
        std::fflush(stdout);
        checkTimes(maps, cache, suite, list);
    }
    return 0;
}
