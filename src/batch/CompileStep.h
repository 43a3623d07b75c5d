#pragma once

#include <QString>
#include <QStringList>

// One program run of a compile, as both ways of compiling see it: the batch
// file writes it as a line, the compile window starts it with its argument
// list.
struct CompileStep {
    enum class Kind { Bsp, Vis, Light, Game };

    Kind kind = Kind::Bsp;
    // As the batch file names it: a bare name ("qbsp3") or a full path.
    QString program;
    // Each switch, each value and the map name, in order.
    QStringList arguments;

    bool operator==(const CompileStep&) const = default;
};
