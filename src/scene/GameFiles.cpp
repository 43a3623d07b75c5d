#include "scene/GameFiles.h"

#include "platform/Failure.h"
#include "platform/TextFile.h"
#include "report/PakDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace scene {

GameFiles::GameFiles(const QStringList& folders)
{
    for (const QString& path : folders) {
        Folder folder{path, {}};
        for (int i = 0; i < 10; ++i) {
            const QString pak = QDir(path).filePath(QStringLiteral("pak%1.pak").arg(i));
            if (!QFileInfo::exists(pak))
                continue;
            try {
                const report::PakDirectory directory = report::PakDirectory::read(pak);
                for (const report::PakDirectory::Entry& entry : directory.entries()) {
                    const QByteArray key = entry.name.toLower();
                    // The lower pak number comes first.
                    if (!folder.pakFiles.contains(key))
                        folder.pakFiles.insert(key, {pak, entry.offset, entry.length});
                }
            } catch (const Failure& failure) {
                problems_ << failure.text();
            }
        }
        folders_ << folder;
    }
}

std::optional<QByteArray> GameFiles::read(const QString& relativePath) const
{
    const QByteArray key = relativePath.toLatin1().toLower();
    for (const Folder& folder : folders_) {
        const QString loose = QDir(folder.path).filePath(relativePath);
        if (QFileInfo(loose).isFile()) {
            try {
                return textfile::readBytes(loose);
            } catch (const Failure&) {
                return std::nullopt;
            }
        }
        const auto entry = folder.pakFiles.constFind(key);
        if (entry == folder.pakFiles.constEnd())
            continue;
        QFile pak(entry->pak);
        // The directory was checked against the pak's size when it was read.
        if (!pak.open(QIODevice::ReadOnly) || !pak.seek(entry->offset))
            return std::nullopt;
        QByteArray bytes = pak.read(entry->length);
        if (bytes.size() != entry->length)
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

} // namespace scene
