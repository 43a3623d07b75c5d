#include "report/TextureLookup.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "report/PakDirectory.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace report {

namespace {

QString fileOf(const QString& texture)
{
    return QStringLiteral("textures/") + texture + QStringLiteral(".wal");
}

// The game opens loose files with fopen: names as the file system compares
// them, exact on Linux (a compiler run under Wine would find "Wall.wal" for
// "wall", the game built for Linux would not), any case on Windows.
QString looseKey(const QString& relativePath)
{
#ifdef Q_OS_WIN
    return relativePath.toLower();
#else
    return relativePath;
#endif
}

// Pak entries are compared with Q_strcasecmp: ASCII case does not count.
QByteArray pakKey(const QByteArray& name)
{
    return name.toLower();
}

} // namespace

TextureLookup::TextureLookup(const QStringList& gameFolders)
{
    for (const QString& folder : gameFolders) {
        addLooseFiles(folder);
        addPakFiles(folder);
    }
}

void TextureLookup::addLooseFiles(const QString& folder)
{
    // Only the textures folder: a game folder may hold gigabytes of demos.
    const QString root = QDir(folder).filePath(QStringLiteral("textures"));
    // Linked folders are followed, as fopen follows them; Qt stops at loops
    // (a folder reached twice in one tree is listed once, under one name).
    QDirIterator files(root, QDir::Files | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (files.hasNext())
        looseFiles_.insert(looseKey(QStringLiteral("textures") + files.next().mid(root.size())));
}

void TextureLookup::addPakFiles(const QString& folder)
{
    // FS_AddGameDirectory tries pak0.pak to pak9.pak and passes over a
    // missing one: a gap does not end the list.
    for (int i = 0; i < 10; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("pak%1.pak").arg(i));
        if (!QFileInfo::exists(path))
            continue;
        const PakDirectory pak = PakDirectory::read(path);
        for (const PakDirectory::Entry& entry : pak.entries())
            pakFiles_.insert(pakKey(entry.name));
    }
}

bool TextureLookup::has(const QString& texture) const
{
    const QString file = fileOf(texture);
    return looseFiles_.contains(looseKey(file)) || pakFiles_.contains(pakKey(file.toLatin1()));
}

QStringList TextureLookup::missing(const map::MapFile& map) const
{
    QSet<QString> named;
    for (const map::MapEntity& entity : map.entities) {
        for (const map::MapBrush& brush : entity.brushes) {
            for (const map::MapFace& face : brush.faces)
                named.insert(face.texture);
        }
    }
    // TrenchBroom's "__TB_empty" (a face left untextured) stays in: the
    // compilers look it up as any other and lose the face's flags.
    QStringList missing;
    for (const QString& texture : named) {
        if (!has(texture))
            missing.append(texture);
    }
    missing.sort();
    return missing;
}

QStringList TextureLookup::gameFoldersOf(const QString& mapPath)
{
    const QStringList parts =
        QFileInfo(platform::localPath(mapPath)).absolutePath().split(QLatin1Char('/'));
    // "Maps" too: the Windows editors' folders keep whatever case they got.
    qsizetype maps = parts.size() - 1;
    while (maps > 1 && parts[maps].compare(QLatin1String("maps"), Qt::CaseInsensitive) != 0)
        --maps;
    // Outside a maps folder, the folder above the map's, as q2tool takes it.
    if (maps < 2)
        maps = parts.size() - 1;
    QString game = parts.mid(0, maps).join(QLatin1Char('/'));
    if (game.isEmpty())
        game = QStringLiteral("/");
    const QString baseq2 = QDir(QFileInfo(game).absolutePath()).filePath(QStringLiteral("baseq2"));
    // Listed twice, it would cost twice and find the same.
    if (game == baseq2)
        return {game};
    return {game, baseq2};
}

QStringList missingTextures(const map::MapFile& map, const QString& mapPath)
{
    return TextureLookup(TextureLookup::gameFoldersOf(mapPath)).missing(map);
}

} // namespace report
