#pragma once

#include "batch/CompileStep.h"

#include <QString>
#include <QStringList>

namespace run {

// Where a compile's programs are looked for and run, as local paths.
struct Places {
    QString compilersFolder;   // may be empty
    QString mapsFolder;        // the compilers run here
    QString gameFolder;        // the game runs here
    QString windowsMapsFolder; // the maps folder as a Windows program names it
    QStringList searchPath;    // PATH's folders
};

// The places of a compile for the game directory as typed (a Windows path,
// or off Windows also a Linux one), the compilers folder (may be empty) and
// the mod (empty: baseq2), whose maps folder the compilers run in.
Places placesFor(const QString& gameDirectory, const QString& compilersFolder,
                 const QString& mod = {});

// How one step's program is started: directly, or through Wine.
struct Launch {
    QString program;       // what is started: the found file, or wine
    QStringList arguments; // under Wine, the found file first
    QString workingFolder;
    bool underWine = false;
    bool windowsProgram = false;
    QStringList looked; // every place looked, in order
    QString problem;    // why it cannot be started; empty when it can

    bool operator==(const Launch&) const = default;
};

// A compiler is looked for in the compilers folder, then the maps folder,
// then on the search path; the game in the game folder, then on the search
// path; a program named with its folder only there. In each place the name
// as given, then with ".exe". Off Windows a Windows program runs through
// wine, with the map given by its Windows path.
Launch launchFor(const CompileStep& step, const Places& places);

// A command line to show: each part quoted where it holds a blank or is
// empty.
QString displayCommand(const QString& program, const QStringList& arguments);

} // namespace run
