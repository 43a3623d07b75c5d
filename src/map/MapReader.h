#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <utility>

// The editors' .map text: entities with their keys, brushes with their
// faces, in the standard Quake II layout and in the Valve 220 one (texture
// axes in brackets). Only what the report and the leak view need is kept.
namespace map {

struct Vec3 {
    double x = 0, y = 0, z = 0;
    bool operator==(const Vec3&) const = default;
};

struct MapFace {
    std::array<Vec3, 3> points; // the plane, as the editor wrote it
    QString texture;            // "e1u1/wall1_1"
    int line = 0;
};

struct MapBrush {
    QList<MapFace> faces;
    int line = 0; // of its "{"
};

struct MapEntity {
    QList<std::pair<QString, QString>> keys; // in the file's order
    QList<MapBrush> brushes;
    int line = 0; // of its "{"

    // The first value of the key; empty where there is none.
    QString value(const QString& key) const;
    QString classname() const { return value(QStringLiteral("classname")); }
    // "x y z" of the origin key, where it holds three finite numbers.
    std::optional<Vec3> origin() const;
};

struct MapFile {
    QList<MapEntity> entities;
    bool valve220 = false; // a face had texture axes in brackets
};

// Reads the text; a syntax error throws Failure "line N: ..." (no path:
// the caller names the file).
MapFile parseMap(const QByteArray& text);

// Reads the file; errors (cannot open, syntax) throw Failure naming it.
MapFile readMapFile(const QString& path);

} // namespace map
