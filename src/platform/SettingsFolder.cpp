#include "platform/SettingsFolder.h"

#include "platform/Failure.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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
        QFile source(place.shipped + name);
        if (!source.open(QIODevice::ReadOnly))
            throw Failure::cannotOpen(source.fileName());
        const QByteArray bytes = source.readAll();
        if (source.error() != QFileDevice::NoError)
            throw Failure::cannotOpen(source.fileName());
        textfile::writeFile(place.folder + name, bytes);
    }
}

} // namespace platform
