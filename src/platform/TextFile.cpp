#include "platform/TextFile.h"

#include "platform/Failure.h"
#include "platform/FileWriter.h"
#include "platform/PathMapping.h"

#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textfile {

namespace {

constexpr qint64 chunkSize = 64 * 1024;

// Opens a regular file for reading. A pipe is opened without waiting for a
// writer, and refused with everything else that is no regular file.
bool openRegularFile(QFile& file, const QString& local)
{
#ifdef _WIN32
    if (!QFileInfo(local).isFile())
        return false;
    file.setFileName(local);
    return file.open(QIODevice::ReadOnly);
#else
    const int fd = ::open(QFile::encodeName(local).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
#endif
}

// Counts line ends as splitLines does; a CR at the end of one chunk and an
// LF at the start of the next are one line end.
class LineEndCounter {
public:
    void add(const QByteArray& bytes)
    {
        for (const char c : bytes) {
            if (c == '\r' || (c == '\n' && !afterCr_))
                ++count_;
            afterCr_ = c == '\r';
        }
    }
    qint64 count() const { return count_; }

private:
    qint64 count_ = 0;
    bool afterCr_ = false;
};

// The bytes of the first lines, line ends included.
QByteArray firstLines(const QByteArray& bytes, int count)
{
    int seen = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        if (++seen == count)
            return bytes.left(i + 1);
    }
    return bytes;
}

} // namespace

QStringList splitLines(const QByteArray& bytes, CodePage page)
{
    const qsizetype zero = bytes.indexOf('\0');
    const QString text = platform::decodeText(zero < 0 ? bytes : bytes.left(zero), page);
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

QByteArray joinLines(const QStringList& lines, CodePage page)
{
    // Encoded whole: an ANSI file is in one code page or all in UTF-8.
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return platform::encodeText(text, page);
}

QByteArray readFile(const QString& path, int maxLines)
{
    QFile file;
    if (!openRegularFile(file, platform::localPath(path)))
        throw Failure::cannotOpen(path);
    QByteArray bytes;
    LineEndCounter lineEnds;
    while (maxLines < 0 || lineEnds.count() < maxLines) {
        const QByteArray chunk = file.read(chunkSize);
        if (chunk.isEmpty())
            break;
        const qsizetype zero = chunk.indexOf('\0');
        if (zero >= 0) {
            bytes += chunk.left(zero);
            break;
        }
        bytes += chunk;
        lineEnds.add(chunk);
    }
    return bytes;
}

QByteArray readBytes(const QString& path)
{
    QFile file;
    if (!openRegularFile(file, platform::localPath(path)))
        throw Failure::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure::cannotOpen(path);
    return bytes;
}

QStringList readLines(const QString& path, int maxLines)
{
    // What follows the lines wanted is not even decoded: it may have been
    // cut anywhere.
    const QByteArray bytes = readFile(path, maxLines);
    return splitLines(maxLines < 0 ? bytes : firstLines(bytes, maxLines));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    writeFile(path, QList<QByteArrayView>{bytes});
}

void writeFile(const QString& path, const QList<QByteArrayView>& pieces, Durability durability)
{
    platform::FileWriter file(path, durability);
    for (const QByteArrayView piece : pieces)
        file.write(piece);
    file.commit();
}

void writeLines(const QString& path, const QStringList& lines, CodePage page)
{
    writeFile(path, joinLines(lines, page));
}

} // namespace textfile
