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

QString gameFolderName(const QString& mod)
{
    return mod.isEmpty() ? QStringLiteral("baseq2") : mod;
}

QString mapsFolder(const QString& gameDirectory, const QString& mod)
{
    return gameDirectory + QLatin1Char('\\') + gameFolderName(mod) + QStringLiteral("\\maps");
}

QString mapFilePath(const QString& gameDirectory, const QString& mapName, const QString& mod)
{
    return mapsFolder(gameDirectory, mod) + QLatin1Char('\\') + mapName + QStringLiteral(".map");
}

} // namespace map
