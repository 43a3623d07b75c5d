#pragma once

#include "bsp/BspFile.h"
#include "report/Engine.h"
#include "report/MapReport.h"

#include <QList>
#include <QString>
#include <optional>

// Each engine's limits as one table (EngineLimits.cpp), with the source of
// every figure beside it: the report's rows are the table read for one
// engine, no engine named in the logic.
namespace report {

// over above the max; near at 80 % of it or more; ok otherwise and where
// there is no cap.
LimitState limitState(qint64 count, std::optional<qint64> max);

// The rows in the report's order (entities, entstring, models, ...,
// lightmaps, extent, bounds) for the figures of a .bsp.
QList<LimitRow> limitRows(const bsp::BspInfo& info, Engine engine);

// Whether the engine loads the format ("IBSP", "QBSP").
bool formatSupported(const QString& format, Engine engine);

} // namespace report
