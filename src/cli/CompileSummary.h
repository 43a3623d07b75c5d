#pragma once

#include "report/MapReport.h"
#include "run/StepRunner.h"

#include <QList>
#include <QString>
#include <optional>

// What a command-line compile ends with: each map's steps and report, the
// table a person reads, the JSON a script reads, and the exit code.
namespace cli {

struct StepRecord {
    QString step;    // "bsp", "vis", "light"
    QString program; // the compiler's file
    QStringList arguments;
    run::StepResult result; // Waiting where the step never ended
};

struct MapResult {
    QString mapPath;
    QString suite;
    QList<StepRecord> steps;
    std::optional<report::MapReport> report;
    QString reportProblem; // why there is no report
    bool interrupted = false;
};

// "ok", "failed: leak from info_player_start at (0 0 32)", "2 over the
// limit, 1 texture missing", "interrupted".
QString verdict(const MapResult& result);
bool succeeded(const MapResult& result);

// One row a map: its steps' states and seconds, and its verdict.
QString summaryTable(const QList<MapResult>& results);

// {"ok": bool, "maps": [{"map", "suite", "steps": [{"step", "program",
// "arguments", "state", "seconds", "reason"}], "report"}]}, on one line.
QString summaryJson(const QList<MapResult>& results);

// 0 every map compiled and its report clean, 1 otherwise, 130 interrupted.
int exitCodeOf(const QList<MapResult>& results, bool interrupted);

} // namespace cli
