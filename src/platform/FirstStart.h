#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a start does before it reads the settings. Where the program keeps
// settings.builtin, default.builtin and lastused.builtin: a program folder
// that holds them and can be written (the build folder, an unzipped Windows
// program) keeps them beside the program, as always; an installed program
// keeps them in a folder of the user's own, filled from the files it was
// shipped with. And, on a first start, a look for the game in a few fixed
// folders where Quake II is usually installed, each asked once whether it
// holds baseq2: it looks at paths, it does not search disks.
namespace platform {

struct SettingsPlace {
    QString folder;  // ends in a folder separator
    QString shipped; // where missing files are copied from; empty: none are
    bool operator==(const SettingsPlace&) const = default;
};

// The files a settings folder holds from the start.
const QStringList& shippedFileNames();

// The place for a program in programFolder and a user whose own folder is
// userFolder (both ending in a separator). The shipped files are the
// program folder's where it holds settings.builtin (a copy that cannot be
// written), else those of the installed data folder, ../share/brushwright.
SettingsPlace settingsPlace(const QString& programFolder, const QString& userFolder);

// The place of the running program: the user's folder is
// QStandardPaths::AppConfigLocation, after the application name is set.
SettingsPlace settingsPlace();

// Copies each shipped file that the folder lacks, the same bytes, through
// the program's writer. Throws Failure: "Cannot open file" for a shipped
// file that cannot be read, "Cannot create file" for a copy that cannot be
// written.
void fillSettingsFolder(const SettingsPlace& place);

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
