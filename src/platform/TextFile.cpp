#include "platform/TextFile.h"

#include "platform/Failure.h"
#include "platform/PathMapping.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace textfile {

QStringList splitLines(const QByteArray& bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    const QString text = QString::fromLocal8Bit(zero < 0 ? bytes : bytes.left(zero));
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QByteArray joinLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray readFile(const QString& path)
{
    const QString local = platform::localPath(path);
    QFile file(local);
    if (QFileInfo(local).isDir() || !file.open(QIODevice::ReadOnly))
        throw Failure::cannotOpen(path);
    return file.readAll();
}

QStringList readLines(const QString& path)
{
    return splitLines(readFile(path));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(platform::localPath(path));
    if (!file.open(QIODevice::WriteOnly))
        throw Failure::cannotCreate(path);
    // QSaveFile::commit ignores a failure of its last flush (a full disk, a
    // file-size limit) and would rename a truncated file into place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw Failure::cannotCreate(path);
    }
    if (!file.commit())
        throw Failure::cannotCreate(path);
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeFile(path, joinLines(lines));
}

} // namespace textfile
