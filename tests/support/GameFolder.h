#pragma once

// A game folder for tests of the compiled map: the test box's textures in a
// pak, a palette whose colours tests can tell apart, and the real
// compilers run on a map there. Header only: the core's tests link no test
// support library.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <array>
#include <utility>

namespace gamefolder {

inline QByteArray le(quint32 value)
{
    const quint32 bytes = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&bytes), 4);
}

// Index 16 * hue + level: the hue's colour at (level + 1) / 16 of its
// strength. Hue 0 is grey.
inline std::array<int, 3> colour(int index)
{
    static const int hues[16][3] = {
        {255, 255, 255}, {255, 96, 48},  {255, 200, 40}, {200, 255, 40},
        {40, 255, 40},   {96, 255, 96},  {40, 255, 200}, {40, 200, 255},
        {40, 120, 255},  {64, 128, 255}, {120, 40, 255}, {200, 40, 255},
        {255, 40, 200},  {255, 40, 120}, {160, 100, 60}, {100, 100, 100}};
    const int hue = index / 16, level = index % 16 + 1;
    return {hues[hue][0] * level / 16, hues[hue][1] * level / 16, hues[hue][2] * level / 16};
}

// pics/colormap.pcx: a 1 x 1 picture, then 0x0C and the palette.
inline QByteArray colormap()
{
    QByteArray header(128, '\0');
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    header[65] = 1;
    QByteArray palette;
    for (int i = 0; i < 256; ++i) {
        for (int c : colour(i))
            palette.append(char(c));
    }
    return header + QByteArray(1, '\0') + '\x0c' + palette;
}

// 64 x 64 texels of index 16 * hue + 8, a line of 16 * hue + 2 every 16.
inline QByteArray wal(const QByteArray& name, int hue)
{
    QByteArray texels;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            texels.append(char(16 * hue + (x % 16 == 0 || y % 16 == 0 ? 2 : 8)));
    }
    const quint32 mips[4] = {100, 100 + 4096, 100 + 4096 + 1024, 100 + 4096 + 1024 + 256};
    return name.leftJustified(32, '\0') + le(64) + le(64) + le(mips[0]) + le(mips[1]) +
           le(mips[2]) + le(mips[3]) + QByteArray(44, '\0') + texels +
           QByteArray(1024 + 256 + 64, 8);
}

inline QByteArray pak(const QList<std::pair<QByteArray, QByteArray>>& files)
{
    QByteArray data, directory;
    for (const auto& [name, bytes] : files) {
        directory += name.leftJustified(56, '\0') + le(12 + data.size()) + le(bytes.size());
        data += bytes;
    }
    return "PACK" + le(12 + data.size()) + le(directory.size()) + data + directory;
}

// The test box's textures: walls hue 1, floor hue 9, ceiling hue 5.
inline const int wallHue = 1;

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// root/quake2/baseq2 (id's tools want "quake2" in the path) with the
// textures in pak0.pak and the palette loose, where every suite's light
// step finds it. The maps folder.
inline QString makeGame(const QString& root)
{
    const QString game = root + QStringLiteral("/quake2/baseq2/");
    writeFile(game + QStringLiteral("pics/colormap.pcx"), colormap());
    writeFile(game + QStringLiteral("pak0.pak"),
              pak({{"textures/e1u1/wall1_1.wal", wal("e1u1/wall1_1", wallHue)},
                   {"textures/e1u1/floor1_3.wal", wal("e1u1/floor1_3", 9)},
                   {"textures/e1u1/ceil1_1.wal", wal("e1u1/ceil1_1", 5)}}));
    QDir().mkpath(game + QStringLiteral("maps"));
    return game + QStringLiteral("maps");
}

// The real compilers (BRUSHWRIGHT_COMPILERS); empty where they are missing.
inline QString compilersFolder()
{
    const QString folder = qEnvironmentVariable("BRUSHWRIGHT_COMPILERS");
    return QFileInfo(folder + QStringLiteral("/linux/q2tool")).isExecutable() ? folder : QString();
}

// Compiles name.map (the text given) in the maps folder with a suite ("id",
// "q2tools", "ericw"): bsp, vis, light. The .bsp's path, empty where none
// was written.
inline QString compile(const QString& maps, const QString& suite, const QByteArray& text,
                       const QString& name)
{
    const QString linux = compilersFolder() + QStringLiteral("/linux/");
    writeFile(maps + QLatin1Char('/') + name + QStringLiteral(".map"), text);
    QList<std::pair<QString, QStringList>> steps;
    if (suite == QStringLiteral("id"))
        steps = {{linux + QStringLiteral("qbsp3"), {name}},
                 {linux + QStringLiteral("qvis3"), {name}},
                 {linux + QStringLiteral("qrad3"), {name}}};
    else if (suite == QStringLiteral("q2tools"))
        steps = {{linux + QStringLiteral("q2tool"), {QStringLiteral("-bsp"), name}},
                 {linux + QStringLiteral("q2tool"), {QStringLiteral("-vis"), name}},
                 {linux + QStringLiteral("q2tool"), {QStringLiteral("-rad"), name}}};
    else
        steps = {{linux + QStringLiteral("ericw/qbsp"), {QStringLiteral("-q2bsp"), name}},
                 {linux + QStringLiteral("ericw/vis"), {name}},
                 {linux + QStringLiteral("ericw/light"), {name}}};
    for (const auto& [program, arguments] : steps) {
        QProcess process;
        process.setWorkingDirectory(maps);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        process.waitForFinished(120000);
    }
    const QString bsp = maps + QLatin1Char('/') + name + QStringLiteral(".bsp");
    return QFileInfo::exists(bsp) ? bsp : QString();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace gamefolder
