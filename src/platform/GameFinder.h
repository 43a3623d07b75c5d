#pragma once

#include <QList>
#include <QString>
#include <optional>

// A first start's look for the game: a few fixed folders where Quake II is
// usually installed, each asked once whether it holds baseq2. It looks at
// paths; it does not search disks.
namespace platform {

// A place the game may be: the folder to look at here, and the text the
// "quake ii location" field takes for it.
struct GameFolder {
    QString local;
    QString location;
    bool operator==(const GameFolder&) const = default;
};

// What the look asks of the file system, one question per path, so a test
// can count them.
class FolderLook {
public:
    virtual ~FolderLook() = default;
    // A folder that can be read, links followed: false for a path that does
    // not exist, is no folder, cannot be read or is a loop of links.
    virtual bool isReadableFolder(const QString& local) const;
};

// The usual places, in the order they are tried: the common install folders
// of the game and of the digital stores; off Windows, those in the Wine
// prefix's drive C (as C:\ paths), then the home folder's quake2 folders,
// the native engines' data folders and Steam's library folders (in Wine's
// Z: form, which the batch file needs and the program maps back).
QList<GameFolder> usualGameFolders(const QString& home, const QString& winePrefix);

// The first candidate that holds a readable baseq2 folder. A location that
// the settings or batch file's code page cannot hold is passed over.
std::optional<GameFolder> findGame(const QList<GameFolder>& candidates, const FolderLook& look);

// The location a start puts in the field: only on a first start (no
// brushwright.ini in the settings folder) while the stored location
// (local form) holds no baseq2.
std::optional<QString> firstStartGame(const QString& settingsFolder, const QString& storedLocal,
                                      const QList<GameFolder>& candidates, const FolderLook& look);

} // namespace platform
