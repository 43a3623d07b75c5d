#include "platform/FileWriter.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

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
    // A plain file of a new name: on Windows a closed QTemporaryFile is
    // still held, and cannot be renamed over the old file.
    for (int attempt = 0; attempt < 16 && !unsynced_; ++attempt) {
        auto file = std::make_unique<QFile>(
            local + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                              QLatin1Char('0')));
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            unsynced_ = std::move(file);
    }
    if (!unsynced_)
        fail();
}

FileWriter::~FileWriter()
{
    if (synced_)
        synced_->cancelWriting();
    if (unsynced_ && !committed_) {
        unsynced_->close();
        unsynced_->remove();
    }
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
    committed_ = true;
}

} // namespace platform
