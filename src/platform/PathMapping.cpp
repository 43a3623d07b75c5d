#include "platform/PathMapping.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

bool startsWithDrive(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

// What follows the drive, with slashes, from a slash on.
QString afterDrive(const QString& path)
{
    QString rest = path.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!rest.startsWith(QLatin1Char('/')))
        rest.prepend(QLatin1Char('/'));
    return rest;
}

QString driveFolder(const QString& path, const QString& winePrefix)
{
    const QString entry = wineDriveEntry(path, winePrefix);
    const QChar letter = path.at(0);
    const QFileInfo info(entry);
    if (info.isSymLink())
        return info.symLinkTarget();
    // A prefix that Wine has not started yet has no drive links: it will
    // make them as it always does.
    if (!info.exists() && letter.toLower() == QLatin1Char('c'))
        return winePrefix + QStringLiteral("/drive_c");
    if (!info.exists() && letter.toLower() == QLatin1Char('z'))
        return QStringLiteral("/");
    return entry;
}

} // namespace

QString wineLocalPath(const QString& path, const QString& winePrefix)
{
    if (!startsWithDrive(path)) {
        QString mapped = path;
        return mapped.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    QString folder = driveFolder(path, winePrefix);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString rest = afterDrive(path);
    if (folder == QLatin1String("/"))
        return rest;
    return folder + rest;
}

QString wineDriveEntry(const QString& path, const QString& winePrefix)
{
    if (!startsWithDrive(path))
        return {};
    return winePrefix + QStringLiteral("/dosdevices/") + path.at(0).toLower() + QLatin1Char(':');
}

QString wineLinkPath(const QString& path, const QString& winePrefix)
{
    if (!startsWithDrive(path))
        return {};
    return wineDriveEntry(path, winePrefix) + afterDrive(path);
}

QString wineWindowsPath(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')))
        return path;
    QString mapped = QStringLiteral("Z:") + path;
    return mapped.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString windowsPath(const QString& path)
{
#ifdef _WIN32
    return path;
#else
    return wineWindowsPath(path);
#endif
}

QString winePrefix()
{
    const QString fromEnvironment = qEnvironmentVariable("WINEPREFIX");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::homePath() + QStringLiteral("/.wine");
}

QString localPath(const QString& path)
{
#ifdef _WIN32
    return path;
#else
    return wineLocalPath(path, winePrefix());
#endif
}

} // namespace platform
