#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

class QFile;
class QSaveFile;

namespace platform {

// Synced: the file is on the disk before it takes the old one's place.
// Unsynced: still replaced whole, but not waited for on the disk, for what
// a compile makes again (a .bsp; the compilers never sync theirs either).
enum class Durability { Synced, Unsynced };

// The one way a file is written: into a temporary file beside it, which
// takes the old file's place (and permissions) at commit, so that a failure
// at any point leaves the old file as it was. Not committed: nothing
// changes. Failures throw Failure "Cannot create file %s" with the path as
// given.
class FileWriter {
public:
    explicit FileWriter(const QString& path, Durability durability = Durability::Synced);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void write(QByteArrayView bytes);
    // On Windows a file that is open or mapped cannot be replaced: close
    // what reads it first.
    void commit();

private:
    [[noreturn]] void fail();

    QString path_;
    std::unique_ptr<QSaveFile> synced_;
    std::unique_ptr<QFile> unsynced_; // in a name of its own beside the file
    bool committed_ = false;
};

} // namespace platform
