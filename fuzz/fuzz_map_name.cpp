// The map-name rule and the file-name part of a chosen path: each result is
// a piece of its text, cut at the place the rule names and nowhere else.
#include "FuzzSupport.h"
#include "map/MapName.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));

    const QString name = map::mapNameRule(text);
    fuzz::check(text.startsWith(name) && !name.contains(QLatin1Char('.')) &&
                    (name.size() == text.size() || text.at(name.size()) == QLatin1Char('.')),
                "the map name is the text up to its first point", text);

    const QString file = map::fileNamePart(text);
    const qsizetype cut = text.size() - file.size();
    const QString separators = QStringLiteral("\\:/");
    fuzz::check(text.endsWith(file) &&
                    std::none_of(file.begin(), file.end(),
                                 [&](QChar c) { return separators.contains(c); }) &&
                    (cut == 0 || separators.contains(text.at(cut - 1))),
                "the file name is what follows the last separator", text);

    const QString path = map::mapFilePath(QStringLiteral("C:\\Quake2"), map::mapNameRule(file));
    fuzz::check(path.startsWith(QStringLiteral("C:\\Quake2\\baseq2\\maps\\")) &&
                    path.endsWith(QStringLiteral(".map")) && path.count(QLatin1Char('.')) == 1,
                "the map file is one .map file in the maps folder", path);
    return 0;
}
