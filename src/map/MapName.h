#pragma once

#include <QString>

namespace map {

// Cuts at the first point: "dm.test.map" gives "dm".
QString mapNameRule(const QString& text);

// The part of a chosen file's path after its last "\" or ":" (and, where "/"
// separates folders, after the last "/").
QString fileNamePart(const QString& path);

// The game folder a map belongs to: the mod, or baseq2 where none is set.
QString gameFolderName(const QString& mod);

// Game directory + "\baseq2\maps", or "\<mod>\maps" with a mod.
QString mapsFolder(const QString& gameDirectory, const QString& mod = {});

// The maps folder + "\" + map name + ".map", joined as they are.
QString mapFilePath(const QString& gameDirectory, const QString& mapName, const QString& mod = {});

} // namespace map
