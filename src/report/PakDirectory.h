#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// The directory of a Quake II pak file: the names of the files it holds and
// where they lie. Only the header and the directory are read, never the
// files themselves: a game's paks run to hundreds of megabytes.
namespace report {

class PakDirectory {
public:
    struct Entry {
        QByteArray name; // "textures/e1u1/wall1_1.wal", as the pak spells it
        qint64 offset = 0;
        qint64 length = 0;
    };

    // A file that is not a pak, or whose directory or entries lie outside
    // it, throws Failure naming the file and what is wrong.
    static PakDirectory read(const QString& path);
    // The same from an open device, its size the file's; name is for errors.
    static PakDirectory read(QIODevice& device, const QString& name);

    const QList<Entry>& entries() const { return entries_; }

private:
    QList<Entry> entries_;
};

} // namespace report
