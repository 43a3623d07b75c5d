// The map report of a generated ~30 MB .bsp: the reader's time in this
// process (the file in the page cache, as right after a compile), and the
// real program's time and peak memory for `--report FILE --json`.
//
//   brushwright_reportbench [path of brushwright]   (default: beside this program)
//
// The program's peak memory is its own: it is started by this bench run
// again as a small launcher (--measure), which has not held the generated
// file, and read back with wait4. (A child forked from the bench itself
// would count the bench's pages before its exec.)
#include "bsp/BspFile.h"
#include "report/ReportFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

void put(QByteArray& bytes, qint64 at, const void* value, std::size_t size)
{
    std::memcpy(bytes.data() + at, value, size);
}

template <typename T> void append(QByteArray& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A QBSP world of n x n floor quads, 64 units each, every quad with edges
// of its own over a shared grid of vertexes; the lighting fills the file
// up to about 30 MB.
QByteArray generatedBsp(int n)
{
    QByteArray lumps[bsp::LumpCount];
    lumps[bsp::Entities] = "{\n\"classname\" \"worldspawn\"\n}\n{\n\"classname\" "
                           "\"info_player_start\"\n\"origin\" \"0 0 32\"\n}\n";
    lumps[bsp::Entities].append('\0');
    for (int y = 0; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) {
            append(lumps[bsp::Vertexes], float(x * 64 - n * 32));
            append(lumps[bsp::Vertexes], float(y * 64 - n * 32));
            append(lumps[bsp::Vertexes], 0.0f);
        }
    }
    // One texinfo: one texel a unit along x and y.
    const float vecs[8] = {1, 0, 0, 0, 0, 1, 0, 0};
    lumps[bsp::Texinfo].append(reinterpret_cast<const char*>(vecs), sizeof vecs);
    lumps[bsp::Texinfo].append(76 - int(sizeof vecs), '\0');
    append(lumps[bsp::Planes], 0.0f);
    append(lumps[bsp::Planes], 0.0f);
    append(lumps[bsp::Planes], 1.0f);
    append(lumps[bsp::Planes], 0.0f);
    append(lumps[bsp::Planes], qint32(2));
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const quint32 corner[4] = {quint32(y * (n + 1) + x), quint32(y * (n + 1) + x + 1),
                                       quint32((y + 1) * (n + 1) + x + 1),
                                       quint32((y + 1) * (n + 1) + x)};
            const qint32 firstEdge = qint32(lumps[bsp::SurfEdges].size() / 4);
            for (int i = 0; i < 4; ++i) {
                append(lumps[bsp::SurfEdges], qint32(lumps[bsp::Edges].size() / 8));
                append(lumps[bsp::Edges], corner[i]);
                append(lumps[bsp::Edges], corner[(i + 1) % 4]);
            }
            // planenum, side, firstedge, numedges, texinfo, styles, lightofs
            append(lumps[bsp::Faces], qint32(0));
            append(lumps[bsp::Faces], qint32(0));
            append(lumps[bsp::Faces], firstEdge);
            append(lumps[bsp::Faces], qint32(4));
            append(lumps[bsp::Faces], qint32(0));
            append(lumps[bsp::Faces], qint32(0));
            append(lumps[bsp::Faces], qint32(-1));
        }
    }
    // The world model: its bounds.
    const float model[12] = {-n * 32.0f, -n * 32.0f, -16, n * 32.0f, n * 32.0f, 16,
                             0,          0,          0,   0,         0,         0};
    lumps[bsp::Models].append(reinterpret_cast<const char*>(model), sizeof model);
    append(lumps[bsp::Areas], qint64(0));
    append(lumps[bsp::AreaPortals], qint64(0));
    qint64 size = 8 + 8 * bsp::LumpCount;
    for (const QByteArray& lump : lumps)
        size += lump.size();
    lumps[bsp::Lighting] = QByteArray(std::max<qint64>(30'000'000 - size, 0), '\x40');

    QByteArray file("QBSP", 4);
    append(file, qint32(38));
    file.append(8 * bsp::LumpCount, '\0');
    for (int lump = 0; lump < bsp::LumpCount; ++lump) {
        const qint32 offset = qint32(file.size()), length = qint32(lumps[lump].size());
        put(file, 8 + 8 * lump, &offset, 4);
        put(file, 12 + 8 * lump, &length, 4);
        file.append(lumps[lump]);
        lumps[lump].clear();
    }
    return file;
}

// --measure PROGRAM ARGS...: runs the program with its output discarded and
// prints "<peak RSS in KiB> <exit code> <wall ms>".
int measure(char* argv[])
{
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    clock_gettime(CLOCK_MONOTONIC, &end);
    std::printf("%ld %d %.3f\n", usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                double(end.tv_sec - start.tv_sec) * 1e3 +
                    double(end.tv_nsec - start.tv_nsec) / 1e6);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--measure") == 0)
        return measure(argv + 2);
    QCoreApplication application(argc, argv);
    const QString program =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QCoreApplication::applicationDirPath() + QStringLiteral("/brushwright");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.bsp"));
    qint64 size = 0;
    {
        const QByteArray bytes = generatedBsp(450);
        size = bytes.size();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
            return 1;
    }
    const bsp::BspInfo info = bsp::readBspFile(path);
    std::printf("file: %.1f MB, %lld faces, %lld lightmap pages\n", double(size) / 1e6,
                static_cast<long long>(info.counts[bsp::Faces]),
                static_cast<long long>(info.lightmapPages));

    std::vector<double> times;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        const report::MapReport r = report::reportOf(path, report::Engine::Vanilla);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (r.limits.isEmpty())
            return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("report in this process: median %.1f ms, best %.1f ms, worst %.1f ms\n",
                times[times.size() / 2], times.front(), times.back());

    std::vector<double> walls;
    long peak = 0; // KiB
    for (int run = 0; run < 5; ++run) {
        QProcess launcher;
        launcher.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--measure"), program, QStringLiteral("--report"), path,
                        QStringLiteral("--json")});
        if (!launcher.waitForFinished(60000))
            return 1;
        const QList<QByteArray> fields = launcher.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 3 || fields[1] != "1")
            return 1;
        peak = std::max(peak, fields[0].toLong());
        walls.push_back(fields[2].toDouble());
    }
    std::sort(walls.begin(), walls.end());
    std::printf("brushwright --report --json: median %.1f ms (process start included); "
                "peak RSS %.1f MB = %.2f x the file\n",
                walls[walls.size() / 2], double(peak) * 1024 / 1e6,
                double(peak) * 1024 / double(size));
    return 0;
}
