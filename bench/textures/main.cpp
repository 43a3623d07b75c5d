// The missing-texture check of a large map against a large game: a 5 MB
// .map in a mod, four 100 MB pak files in baseq2 (sparse: only their header
// and directory take disk) with 10000 textures, and loose ones in the mod.
//
//     brushwright_textures FOLDER [RUNS]
//
// Prints one line of figures, "name=value" pairs; times are the median of
// the runs, with the files in the page cache after the first.
#include "map/MapReader.h"
#include "report/TextureLookup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int paks = 4;
constexpr int texturesPerPak = 2500;
constexpr qint64 pakBytes = 100LL * 1024 * 1024;
constexpr int looseTextures = 200;
constexpr int missingTextures = 50;
constexpr qint64 mapBytes = 5LL * 1024 * 1024;

QByteArray pakName(int pak, int i)
{
    return QStringLiteral("base%1/tex%2").arg(pak).arg(i, 5, 10, QLatin1Char('0')).toLatin1();
}

QByteArray le(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

void fail(const QString& what)
{
    std::fprintf(stderr, "brushwright_textures: %s\n", qUtf8Printable(what));
    std::exit(1);
}

// The header and the directory at the end; the files between are holes.
void writePak(const QString& path, int pak)
{
    QByteArray directory;
    const qint64 spacing = (pakBytes - 12 - 64 * texturesPerPak) / texturesPerPak;
    for (int i = 0; i < texturesPerPak; ++i)
        directory += ("textures/" + pakName(pak, i) + ".wal").leftJustified(56, '\0') +
                     le(qint32(12 + i * spacing)) + le(qint32(spacing));
    const qint64 offset = pakBytes - directory.size();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("PACK" + le(qint32(offset)) + le(qint32(directory.size()))) != 12 ||
        !file.seek(offset) || file.write(directory) != directory.size())
        fail("cannot write " + path);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write " + path);
}

// Brushes of six faces, their textures taken in turn from the paks, the
// loose ones and the missing ones.
QByteArray mapText()
{
    std::vector<QByteArray> names;
    for (int pak = 0; pak < paks; ++pak) {
        for (int i = 0; i < texturesPerPak; ++i)
            names.push_back(pakName(pak, i));
    }
    for (int i = 0; i < looseTextures; ++i)
        names.push_back("jam/loose" + QByteArray::number(i));
    for (int i = 0; i < missingTextures; ++i)
        names.push_back("jam/gone" + QByteArray::number(i));
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    std::size_t next = 0;
    while (text.size() < mapBytes) {
        text += "{\n";
        for (int f = 0; f < 6; ++f)
            text += "( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) " +
                    names[next++ % names.size()] + " 0 0 0 1 1\n";
        text += "}\n";
    }
    return text + "}\n";
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/quake2");
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QDir().mkpath(root + QStringLiteral("/baseq2"));
    for (int pak = 0; pak < paks; ++pak)
        writePak(root + QStringLiteral("/baseq2/pak%1.pak").arg(pak), pak);
    for (int i = 0; i < looseTextures; ++i)
        writeFile(root + QStringLiteral("/jam1/textures/jam/loose%1.wal").arg(i), "wal");
    const QByteArray text = mapText();
    const QString mapPath = root + QStringLiteral("/jam1/maps/bench.map");
    writeFile(mapPath, text);

    std::vector<double> readMs, checkMs, listMs;
    QStringList missing;
    qsizetype faces = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const map::MapFile map = map::readMapFile(mapPath);
        readMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        faces = 0;
        for (const map::MapBrush& brush : map.entities.first().brushes)
            faces += brush.faces.size();
        timer.restart();
        missing = report::missingTextures(map, mapPath);
        checkMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        // Of which: listing the folders and reading the pak directories.
        timer.restart();
        const report::TextureLookup lookup(report::TextureLookup::gameFoldersOf(mapPath));
        listMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    if (missing.size() != missingTextures)
        fail(QStringLiteral("%1 textures missing, %2 expected")
                 .arg(missing.size())
                 .arg(missingTextures));
    std::printf(
        "map_bytes=%lld faces=%lld pak_bytes=%lld pak_entries=%d loose=%d missing=%lld runs=%d "
        "read_map_ms=%.1f texture_check_ms=%.1f of_which_listing_ms=%.1f\n",
        static_cast<long long>(text.size()), static_cast<long long>(faces),
        static_cast<long long>(paks * pakBytes), paks * texturesPerPak, looseTextures,
        static_cast<long long>(missing.size()), runs, median(readMs), median(checkMs),
        median(listMs));
    return 0;
}
