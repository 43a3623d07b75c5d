#pragma once

#include <QString>

namespace map {

// Cuts at the first point: "dm.test.map" gives "dm".
QString mapNameRule(const QString& text);

// The part of a chosen file's path after its last "\" or ":" (and, where "/"
// separates folders, after the last "/").
QString fileNamePart(const QString& path);

// Game directory + "\baseq2\maps".
QString mapsFolder(const QString& gameDirectory);

// Game directory + "\baseq2\maps\" + map name + ".map", joined as they are.
QString mapFilePath(const QString& gameDirectory, const QString& mapName);

} // namespace map
