#pragma once

#include <QString>

namespace platform {

// The program builds Windows paths (the game directory is typed the way the
// batch file needs it). Where the program itself touches such a file, the
// path goes through localPath first. On Windows it is unchanged.
QString localPath(const QString& path);

// The mapping used off Windows, with the Wine prefix given: backslashes
// become slashes, and a leading drive letter X: becomes the folder that the
// prefix's dosdevices/x: entry names; where that entry is missing (a prefix
// Wine has not started yet), C: is the prefix's drive_c and Z: the root, as
// Wine will make them. A path without a drive is kept.
QString wineLocalPath(const QString& path, const QString& winePrefix);

// The prefix's entry for the path's drive, "<prefix>/dosdevices/x:", and
// the path through it, which the kernel follows as Wine does: one look-up
// where wineLocalPath makes several. Both empty for a path without a drive.
QString wineDriveEntry(const QString& path, const QString& winePrefix);
QString wineLinkPath(const QString& path, const QString& winePrefix);

// Wine's Windows form of a Linux path: "/home/me/quake2" becomes
// "Z:\home\me\quake2" (Wine maps Z: to the root). Any other text, a
// Windows path above all, is kept. On Windows it is always kept.
QString windowsPath(const QString& path);
QString wineWindowsPath(const QString& path);

// WINEPREFIX, else ~/.wine.
QString winePrefix();

} // namespace platform
