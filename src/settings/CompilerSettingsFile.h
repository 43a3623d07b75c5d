#pragma once

#include "settings/CompilerSettings.h"

#include <QString>

// brushwright.ini, read and written with QSettings' INI format:
//
//   [compilers]  suite=id|q2tools|ericw   folder=<path>
//   [game]       program=<path>           engine=<name>   mod=<folder name>
//   [compile]    way=console|window       stopAtFirstFailure=true|false
//                reuseVis=true|false
//
// A missing file or key gives the default; so does a value the program does
// not know, which the next write replaces.
namespace settings {

CompilerSettings readCompilerSettings(const QString& path);

// "id", "q2tools", "ericw": as the file names a suite.
QString suiteName(Suite suite);

// Keeps the file's other keys. Written as every file is (a temporary beside
// it, then a rename): throws Failure "Cannot create file %s".
void writeCompilerSettings(const QString& path, const CompilerSettings& settings);

} // namespace settings
