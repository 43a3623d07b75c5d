#include "report/PakDirectory.h"

#include "platform/Failure.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <array>
#include <cstring>

namespace report {

namespace {

constexpr qint64 headerSize = 12;
constexpr qint64 entrySize = 64;
constexpr qint64 nameSize = 56;

// The game reads these as signed ints; a negative one is as broken as one
// past the end.
qint64 intAt(const char* p)
{
    return qFromLittleEndian<qint32>(p);
}

[[noreturn]] void broken(const QString& name, const QString& what)
{
    throw Failure(QStringLiteral("%1: a broken pak file: %2").arg(name, what));
}

bool inside(qint64 offset, qint64 length, qint64 size)
{
    return offset >= 0 && length >= 0 && offset <= size && length <= size - offset;
}

PakDirectory::Entry entryAt(const char* p, int index, qint64 size, const QString& name)
{
    const void* zero = std::memchr(p, '\0', std::size_t(nameSize));
    if (!zero)
        broken(name, QStringLiteral("entry %1's name has no ending zero").arg(index));
    PakDirectory::Entry entry;
    entry.name = QByteArray(p, qsizetype(static_cast<const char*>(zero) - p));
    entry.offset = intAt(p + nameSize);
    entry.length = intAt(p + nameSize + 4);
    if (!inside(entry.offset, entry.length, size))
        broken(name, QStringLiteral("entry %1 (\"%2\", %3 bytes at %4) lies outside the file "
                                    "(%5 bytes)")
                         .arg(index)
                         .arg(QString::fromLatin1(entry.name))
                         .arg(entry.length)
                         .arg(entry.offset)
                         .arg(size));
    return entry;
}

} // namespace

PakDirectory PakDirectory::read(const QString& path)
{
    // A pipe or a device has no size to check the directory against.
    QFile file(path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        throw Failure::cannotOpen(path);
    return read(file, path);
}

PakDirectory PakDirectory::read(QIODevice& device, const QString& name)
{
    const qint64 size = device.size();
    // A fixed buffer: read into an empty QByteArray, the compiler's bounds
    // check at -O2 with the sanitizers sees Qt's one-byte empty array.
    std::array<char, headerSize> header{};
    const qint64 got = device.read(header.data(), headerSize);
    if (got < 4 || std::memcmp(header.data(), "PACK", 4) != 0)
        broken(name, QStringLiteral("it does not start with \"PACK\""));
    if (got < headerSize)
        broken(name, QStringLiteral("it ends within its %1-byte header").arg(headerSize));
    const qint64 offset = intAt(header.data() + 4);
    const qint64 length = intAt(header.data() + 8);
    if (!inside(offset, length, size))
        broken(name, QStringLiteral("its directory (%1 bytes at %2) lies outside the file (%3 "
                                    "bytes)")
                         .arg(length)
                         .arg(offset)
                         .arg(size));
    if (length % entrySize != 0)
        broken(name, QStringLiteral("its directory's length %1 is not a multiple of %2")
                         .arg(length)
                         .arg(entrySize));
    // The length is checked against the file's size: it bounds the read.
    if (!device.seek(offset))
        throw Failure::cannotOpen(name);
    const QByteArray directory = device.read(length);
    if (directory.size() != length)
        throw Failure::cannotOpen(name);

    // The vanilla game's cap of 4096 files a pak is its own limit, not the
    // format's; later engines lift it, so it is not checked here.
    PakDirectory pak;
    const int count = int(length / entrySize);
    pak.entries_.reserve(count);
    for (int i = 0; i < count; ++i)
        pak.entries_.append(entryAt(directory.constData() + i * entrySize, i, size, name));
    return pak;
}

} // namespace report
