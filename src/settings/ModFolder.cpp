#include "settings/ModFolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace settings {

QString modProblem(const QString& mod)
{
    if (mod.isEmpty())
        return {};
    // The game's command line splits at blanks: "+set game my mod" sets
    // "my" whatever way the game is started.
    if (std::any_of(mod.begin(), mod.end(), [](QChar c) { return c.isSpace(); }))
        return QStringLiteral("it holds a blank");
    for (const QChar c : mod) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("it holds a control character (U+%1)")
                .arg(
                    QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    for (const char* text : {"/", "\\", "..", ":", "%", "\""}) {
        if (mod.contains(QLatin1String(text)))
            return QStringLiteral("it holds \"%1\"").arg(QLatin1String(text));
    }
    if (mod == QLatin1String("."))
        return QStringLiteral("it is the game folder itself");
    return {};
}

QStringList modFolders(const QString& gameFolder)
{
    QStringList mods;
    const QDir game(gameFolder);
    for (const QString& name : game.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (name.compare(QLatin1String("baseq2"), Qt::CaseInsensitive) == 0)
            continue;
        // As the maps folder is named wherever the program looks for it.
        if (QFileInfo(game.filePath(name + QStringLiteral("/maps"))).isDir())
            mods << name;
    }
    return mods;
}

} // namespace settings
