#include "map/MapName.h"

#include <algorithm>

namespace map {

QString mapNameRule(const QString& text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? text : text.left(point);
}

QString fileNamePart(const QString& path)
{
    qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
#ifndef _WIN32
    cut = std::max(cut, path.lastIndexOf(QLatin1Char('/')));
#endif
    return path.mid(cut + 1);
}

QString mapsFolder(const QString& gameDirectory)
{
    return gameDirectory + QStringLiteral("\\baseq2\\maps");
}

QString mapFilePath(const QString& gameDirectory, const QString& mapName)
{
    return mapsFolder(gameDirectory) + QLatin1Char('\\') + mapName + QStringLiteral(".map");
}

} // namespace map
