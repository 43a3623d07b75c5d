#pragma once

#include "map/MapReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The point files the compilers write on a leak (.lin, .pts): text, one
// "x y z" a line. Anything else is passed over and counted.
namespace leak {

// Beyond this a coordinate is junk, not a place in a map.
inline constexpr double maxCoordinate = 1e6;

struct PointFile {
    QList<map::Vec3> points; // in the file's order
    int skipped = 0;         // lines with text that is not a point
};

// Blank lines are neither points nor skipped.
PointFile parsePointFile(const QByteArray& bytes);

// Throws Failure when the file cannot be read.
PointFile readPointFile(const QString& path);

} // namespace leak
