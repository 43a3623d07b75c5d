#include "platform/FirstStart.h"

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

const QString settingsName = QStringLiteral("settings.builtin");

// Permission bits do not say it for root or on every file system: the one
// honest test is to create a file there.
bool canWriteIn(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("brushwright-XXXXXX.tmp"));
    return probe.open();
}

QString withSeparator(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(folder)) + QDir::separator();
}

} // namespace

const QStringList& shippedFileNames()
{
    static const QStringList names{settingsName, QStringLiteral("default.builtin"),
                                   QStringLiteral("lastused.builtin")};
    return names;
}

SettingsPlace settingsPlace(const QString& programFolder, const QString& userFolder)
{
    const bool holdsSettings = QFileInfo::exists(programFolder + settingsName);
    if (holdsSettings && canWriteIn(programFolder))
        return {programFolder, {}};
    const QString shipped =
        holdsSettings ? programFolder
                      : withSeparator(programFolder + QStringLiteral("../share/brushwright"));
    return {userFolder, shipped};
}

SettingsPlace settingsPlace()
{
    return settingsPlace(programFolder(), withSeparator(QStandardPaths::writableLocation(
                                              QStandardPaths::AppConfigLocation)));
}

void fillSettingsFolder(const SettingsPlace& place)
{
    if (place.shipped.isEmpty())
        return;
    // A folder that cannot be made shows as the first copy that cannot be
    // written.
    QDir().mkpath(place.folder);
    for (const QString& name : shippedFileNames()) {
        if (QFileInfo::exists(place.folder + name))
            continue;
        // The path as the program names it: QFile turns separators round.
        const QString path = place.shipped + name;
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly))
            throw Failure::cannotOpen(path);
        const QByteArray bytes = source.readAll();
        if (source.error() != QFileDevice::NoError)
            throw Failure::cannotOpen(path);
        textfile::writeFile(place.folder + name, bytes);
    }
}

// The look for the game ----------------------------------------------------

namespace {

const QString baseq2 = QStringLiteral("/baseq2");

const char* const windowsFolders[] = {
    "C:\\Quake2",
    "C:\\Program Files (x86)\\Steam\\steamapps\\common\\Quake 2",
    "C:\\Program Files\\Steam\\steamapps\\common\\Quake 2",
    "C:\\GOG Games\\Quake II",
    "C:\\Program Files (x86)\\GOG Galaxy\\Games\\Quake II",
    "C:\\Program Files\\GOG Galaxy\\Games\\Quake II",
};

#ifndef _WIN32
// Below the home folder: the usual folder, the native engines' data folders
// (Yamagi, Q2PRO), Steam's library folder and its older link.
const char* const homeFolders[] = {
    "quake2",
    ".quake2",
    ".yq2",
    ".q2pro",
    ".local/share/Steam/steamapps/common/Quake 2",
    ".steam/steam/steamapps/common/Quake 2",
};
#endif

bool fitsCodePage(const QString& text, CodePage page)
{
    return firstUnwritable(text, codePageNumber(page)).isEmpty();
}

} // namespace

bool FolderLook::isReadableFolder(const QString& local) const
{
#ifdef _WIN32
    const QFileInfo info(local);
    return info.isDir() && info.isReadable();
#else
    // stat follows links and fails with ELOOP on a loop of them.
    const QByteArray path = QFile::encodeName(local);
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::access(path.constData(), R_OK | X_OK) == 0;
#endif
}

QList<GameFolder> usualGameFolders(const QString& home, const QString& winePrefix)
{
    QList<GameFolder> folders;
#ifdef _WIN32
    Q_UNUSED(home);
    Q_UNUSED(winePrefix);
#endif
    for (const char* folder : windowsFolders) {
        const QString location = QString::fromLatin1(folder);
#ifdef _WIN32
        folders.append({location, location});
#else
        // Through drive_c itself, not the drive link: the look stays one
        // question per folder.
        QString rest = location.mid(2);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        folders.append({winePrefix + QStringLiteral("/drive_c") + rest, location});
#endif
    }
#ifndef _WIN32
    for (const char* folder : homeFolders) {
        const QString local = home + QLatin1Char('/') + QString::fromLatin1(folder);
        folders.append({local, wineWindowsPath(local)});
    }
#endif
    return folders;
}

std::optional<GameFolder> findGame(const QList<GameFolder>& candidates, const FolderLook& look)
{
    for (const GameFolder& candidate : candidates) {
        if (!fitsCodePage(candidate.location, CodePage::Ansi) ||
            !fitsCodePage(candidate.location, CodePage::Oem))
            continue;
        if (look.isReadableFolder(candidate.local + baseq2))
            return candidate;
    }
    return std::nullopt;
}

std::optional<QString> firstStartGame(const QString& settingsFolder, const QString& storedLocal,
                                      const QList<GameFolder>& candidates, const FolderLook& look)
{
    if (QFileInfo::exists(settingsFolder + QStringLiteral("brushwright.ini")) ||
        look.isReadableFolder(storedLocal + baseq2))
        return std::nullopt;
    const std::optional<GameFolder> found = findGame(candidates, look);
    if (!found)
        return std::nullopt;
    return found->location;
}

} // namespace platform
