#pragma once

#include "map/MapReader.h"
#include "report/Engine.h"
#include "scene/PotentiallyVisible.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a mapper must know of a compiled map: its figures against the chosen
// engine's limits, whether the engine loads its format, the textures the
// game lacks and where it leaks. A value: the command line prints it, the
// compile window shows it.
namespace report {

enum class LimitState { Ok, Near, Over };

struct LimitRow {
    QString name; // "models": the JSON name
    qint64 count = 0;
    std::optional<qint64> max; // none where the engine has no cap
    LimitState state = LimitState::Ok;
    QString engineError; // what the engine says when over: "*Index: overflow"
    bool operator==(const LimitRow&) const = default;
};

struct LeakReport {
    QString entity;    // classname of the entity the leak reaches
    map::Vec3 origin;  // its origin
    map::Vec3 voidEnd; // where the path gets out
    int points = 0;
    double length = 0; // of the path, in units
    QString file;      // the point file, absolute
    int skipped = 0;   // junk lines passed over
    bool operator==(const LeakReport&) const = default;
};

struct MapReport {
    QString mapPath; // absolute; empty when no .map was read
    QString bspPath; // absolute; empty when no .bsp was read
    Engine engine = Engine::Vanilla;
    QString format;                             // "IBSP", "QBSP"; empty without a .bsp
    std::optional<bool> formatSupported;        // none without a .bsp
    QList<LimitRow> limits;                     // empty without a .bsp
    std::optional<QStringList> missingTextures; // sorted; none when no .map was read
    std::optional<LeakReport> leak;
    // What the engine may have to draw from each cluster; none without vis
    // or with a damaged visibility lump, which pvsProblem then names.
    std::optional<scene::PvsFigures> pvs;
    QString pvsProblem;
};

// 0: nothing over, the format loads, no texture missing, no leak; 1 otherwise.
int exitCode(const MapReport& report);

} // namespace report
