#pragma once

#include "map/MapReader.h"
#include "report/MapReport.h"

#include <QList>
#include <QString>
#include <optional>

// Where a map leaks: the point file a compiler wrote, turned round so that
// it runs from the entity the flood reached out to the void. id's tools and
// q2tool write it from the void in, ericw-tools from the entity out.
namespace leak {

struct LeakPath {
    report::LeakReport report;
    QList<map::Vec3> points; // the entity's end first
};

// The newest of <map>.lin, <map>.pts and <bsp>.pts (ericw-tools writes it
// beside the .bsp) that is not older than the .map; none when there is none.
std::optional<QString> pointFileFor(const QString& mapPath, const QString& bspPath);

// ericw-tools' 'Reached occupant "light" at (0 0 160)': the classname and
// the place; none where the line is not one.
struct Occupant {
    QString classname;
    map::Vec3 origin;
};
std::optional<Occupant> parseOccupant(const QString& line);

// The path in the point file, its entity end found by the occupant line
// where one is given, else by the entity whose origin lies within a unit of
// an end. Throws Failure when the file cannot be read.
LeakPath traceLeak(const map::MapFile& map, const QString& pointFile,
                   const QString& occupantLine = {});

// The leak of a compile from the command line: none when no point file is
// newer than the .map.
std::optional<report::LeakReport> findLeak(const map::MapFile& map, const QString& mapPath,
                                           const QString& bspPath,
                                           const QString& occupantLine = {});

// "The map leaks from info_player_start at (0 0 32) out to (-136 648 288)."
QString leakSentence(const report::LeakReport& leak);

// "(0 0 32)": no needless decimals.
QString pointText(const map::Vec3& point);

} // namespace leak
