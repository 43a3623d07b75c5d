#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The game's files the view draws with (textures/<name>.wal,
// pics/colormap.pcx), found as the texture look-up finds them: the game
// folders in order (a mod's, then baseq2), in each a loose file, then
// pak0.pak ... pak9.pak. Only the paks' directories are read up front.
namespace scene {

class GameFiles {
public:
    // A pak that cannot be read is passed over and named in problems().
    explicit GameFiles(const QStringList& folders);

    // The file's bytes; none where no folder has it or it cannot be read.
    std::optional<QByteArray> read(const QString& relativePath) const;
    const QStringList& problems() const { return problems_; }

private:
    struct PakEntry {
        QString pak;
        qint64 offset = 0, length = 0;
    };
    struct Folder {
        QString path;
        QHash<QByteArray, PakEntry> pakFiles; // names in lower case
    };

    QList<Folder> folders_;
    QStringList problems_;
};

} // namespace scene
