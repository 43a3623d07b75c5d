#pragma once

#include "map/MapReader.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

// Which of a map's textures the game lacks. A texture "e1u1/wall1_1" is
// textures/e1u1/wall1_1.wal in a game folder, loose or in one of its pak
// files, looked for as the game's file system does (Quake 2
// qcommon/files.c). id's qbsp3 silently drops a missing texture's flags.
namespace report {

class TextureLookup {
public:
    // The folders in the game's order: a mod's first, then baseq2. Each
    // folder's textures and pak directories are listed once, here; a
    // broken pak throws Failure naming it. A missing folder holds nothing.
    explicit TextureLookup(const QStringList& gameFolders);

    bool has(const QString& texture) const;
    // The textures the map names that no folder has: sorted, each once.
    // Animation frames are not asked for: the .map does not name them.
    QStringList missing(const map::MapFile& map) const;

    // The folder above the map's maps folder (a mod, or baseq2), then
    // baseq2 beside it. Outside a maps folder, the folder above the map's.
    static QStringList gameFoldersOf(const QString& mapPath);

private:
    void addLooseFiles(const QString& folder);
    void addPakFiles(const QString& folder);

    QSet<QString> looseFiles_;  // "textures/e1u1/wall1_1.wal"
    QSet<QByteArray> pakFiles_; // the same, in lower case
};

// The textures the map at mapPath names that its game folders lack.
QStringList missingTextures(const map::MapFile& map, const QString& mapPath);

} // namespace report
