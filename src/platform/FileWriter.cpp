#include "platform/FileWriter.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace platform {

namespace {

bool renameOver(const QString& from, const QString& to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                       reinterpret_cast<const wchar_t*>(to.utf16()), MOVEFILE_REPLACE_EXISTING);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

} // namespace

FileWriter::FileWriter(const QString& path, Durability durability) : path_(path)
{
    const QString local = localPath(path);
    if (durability == Durability::Synced) {
        synced_ = std::make_unique<QSaveFile>(local);
        if (!synced_->open(QIODevice::WriteOnly))
            fail();
        return;
    }
    unsynced_ = std::make_unique<QTemporaryFile>(local + QStringLiteral(".XXXXXX"));
    if (!unsynced_->open())
        fail();
}

FileWriter::~FileWriter()
{
    if (synced_)
        synced_->cancelWriting();
}

void FileWriter::fail()
{
    if (synced_)
        synced_->cancelWriting();
    throw Failure::cannotCreate(path_);
}

void FileWriter::write(QByteArrayView bytes)
{
    QFileDevice& file = synced_ ? static_cast<QFileDevice&>(*synced_) : *unsynced_;
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        fail();
}

void FileWriter::commit()
{
    // QSaveFile::commit ignores a failure of its last flush (a full disk, a
    // file-size limit) and would rename a truncated file into place.
    if (synced_) {
        if (!synced_->flush() || !synced_->commit())
            fail();
        return;
    }
    const QString local = localPath(path_);
    const QFileInfo target(local);
    bool written = unsynced_->flush();
    if (target.exists())
        written = written && unsynced_->setPermissions(target.permissions());
    unsynced_->close();
    if (!written || unsynced_->error() != QFileDevice::NoError ||
        !renameOver(unsynced_->fileName(), local))
        fail();
    unsynced_->setAutoRemove(false);
}

} // namespace platform
