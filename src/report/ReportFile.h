#pragma once

#include "report/Engine.h"
#include "report/MapReport.h"

#include <QString>
#include <QStringList>

// The report of a file on disk, and the command line that prints it:
//   brushwright --report PATH [--engine vanilla|yamagi|q2pro|rerelease] [--json]
namespace report {

// A .map (with its textures, and the .bsp of the same base name beside it
// where there is one) or a .bsp. Throws Failure naming the file that
// cannot be read or is broken.
MapReport reportOf(const QString& path, Engine engine);

// Reads the .bsp into the report: its format and figures. Throws Failure.
void addBsp(MapReport& report, const QString& bspPath);

// [game] engine= of brushwright.ini; vanilla where the file or the key is
// missing or names no engine.
Engine configuredEngine(const QString& iniPath);

// Whether the program's arguments (the program's name first) ask for the
// report rather than the window.
bool isReportCommand(const QStringList& arguments);

struct CommandResult {
    int exitCode = 0; // 0 all is well, 1 something the player meets, 2 unreadable or bad usage
    QString out;      // standard output
    QString err;      // standard error
};

// Runs the command: arguments as the program got them (its name first);
// the engine, where not given, from the brushwright.ini at iniPath.
CommandResult runReportCommand(const QStringList& arguments, const QString& iniPath);

} // namespace report
