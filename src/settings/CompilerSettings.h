#pragma once

#include "report/Engine.h"

#include <QString>

// The program settings that settings.builtin has no line for, kept in
// brushwright.ini beside it: which compilers a compile runs, where they are,
// which game program starts the map in which mod, and how a compile is run.
namespace settings {

enum class Suite { Id, Q2tools, Ericw };
enum class CompileWay { Console, Window };

struct CompilerSettings {
    Suite suite = Suite::Id;                         // [compilers] suite
    QString folder;                                  // [compilers] folder; empty: bare names
    QString gameProgram;                             // [game] program; empty: quake2
    CompileWay way = CompileWay::Console;            // [compile] way
    bool stopAtFirstFailure = true;                  // [compile] stopAtFirstFailure
    report::Engine engine = report::Engine::Vanilla; // [game] engine: whose limits a map meets
    QString mod = {};                                // [game] mod; empty: baseq2
    bool reuseVis = true; // [compile] reuseVis: vis kept and reused while its input stays

    bool operator==(const CompilerSettings&) const = default;
};

} // namespace settings
