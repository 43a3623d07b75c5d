#pragma once

#include "report/MapReport.h"

#include <QString>

// The report as a person reads it and as a program reads it; the command
// line prints these, the compile window may show them.
namespace report {

QString stateName(LimitState state); // "ok", "near", "over"

// An aligned table (limit, count, max, state, the engine's words where
// over), the format line, the missing textures and the leak; ends in a
// line break.
QString reportText(const MapReport& report);

// One JSON object, keys in a fixed order:
// {"map", "bsp", "engine", "format", "formatSupported", "limits",
//  "missingTextures", "leak", "pvs"}; ends in a line break.
QString reportJson(const MapReport& report);

// The leak's parts alone, as reportText and reportJson write them.
QString leakText(const LeakReport& leak);
QString leakJson(const LeakReport& leak);

// A JSON string literal, quotes included.
QString jsonString(const QString& text);

} // namespace report
