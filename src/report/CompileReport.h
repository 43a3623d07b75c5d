#pragma once

#include "report/MapReport.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The map report as the compile window makes it: the textures before the
// first step, the whole report after the last.
namespace report {

struct CompileReportRequest {
    QString mapPath; // the .map the steps compiled
    Engine engine = Engine::Vanilla;
    // When the compile started: a .bsp or point file older than this is a
    // former compile's, and left out.
    QDateTime since;
    QString pointFile;    // the one the bsp step wrote on a leak; empty: none
    QString occupantLine; // ericw-tools' "Reached occupant ..." line, if printed
};

// The textures the map names that its game folders lack (sorted). Throws
// Failure for a map or pak file that cannot be read.
QStringList texturesMissingFrom(const QString& mapPath);

// Throws Failure for a file that cannot be read or is broken.
MapReport reportAfterCompile(const CompileReportRequest& request);

// "info_player_start at (0 0 32)": the leak's entity end, as the step list
// names it.
QString leakEndText(const LeakReport& leak);

} // namespace report
