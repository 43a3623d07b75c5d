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

QString driveFolder(QChar letter, const QString& winePrefix)
{
    const QString entry =
        winePrefix + QStringLiteral("/dosdevices/") + letter.toLower() + QLatin1Char(':');
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
    QString mapped = path;
    mapped.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!startsWithDrive(mapped))
        return mapped;
    QString folder = driveFolder(mapped.at(0), winePrefix);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    QString rest = mapped.mid(2);
    if (!rest.startsWith(QLatin1Char('/')))
        rest.prepend(QLatin1Char('/'));
    if (folder == QLatin1String("/"))
        return rest;
    return folder + rest;
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
