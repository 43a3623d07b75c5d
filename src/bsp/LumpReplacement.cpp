#include "bsp/LumpReplacement.h"

#include "bsp/BspFile.h"
#include "platform/Failure.h"
#include "platform/FileWriter.h"
#include "platform/MappedFile.h"

#include <QtEndian>
#include <algorithm>

namespace bsp {

namespace {

std::int64_t aligned(std::int64_t at)
{
    return (at + 3) & ~std::int64_t(3);
}

void putInt32(QByteArray& bytes, std::int64_t at, std::int64_t value)
{
    qToLittleEndian(std::int32_t(value), bytes.data() + at);
}

// Whether the lump shares bytes with another: such a file cannot have one
// lump changed alone.
bool overlapsOther(const BspLayout& layout, int lump)
{
    const std::int64_t from = layout.offset[std::size_t(lump)];
    const std::int64_t to = from + layout.length[std::size_t(lump)];
    const auto overlaps = [from, to](std::int64_t offset, std::int64_t length) {
        return length > 0 && offset < to && from < offset + length;
    };
    for (int other = 0; other < LumpCount; ++other) {
        if (other != lump &&
            overlaps(layout.offset[std::size_t(other)], layout.length[std::size_t(other)]))
            return true;
    }
    return std::any_of(layout.bspx.cbegin(), layout.bspx.cend(),
                       [&](const BspxLump& x) { return overlaps(x.offset, x.length); });
}

// Whether lump bytes lie in the header, which is rewritten: no compiler
// writes such a file, and the lump would not keep its bytes.
bool inHeader(const BspLayout& layout, int lump, std::int64_t headerSize)
{
    for (std::size_t i = 0; i < std::size_t(LumpCount); ++i) {
        const bool replaced = i == std::size_t(lump);
        if (layout.offset[i] < headerSize && (replaced || layout.length[i] > 0))
            return true;
    }
    return false;
}

// Pieces with a running length, so that offsets in the new file are known
// as it is laid out.
class Pieces {
public:
    void view(const char* data, std::int64_t length)
    {
        if (length > 0)
            add({QByteArrayView(data, qsizetype(length)), {}});
    }
    void own(const QByteArray& bytes)
    {
        if (!bytes.isEmpty())
            add({{}, bytes});
    }
    void zeros(std::int64_t count) { own(QByteArray(qsizetype(count), '\0')); }
    std::int64_t size() const { return size_; }
    // Cuts what lies past the end, which only padding can.
    void truncate(std::int64_t end)
    {
        while (size_ > end) {
            FilePiece& last = list_.last();
            const std::int64_t length = last.bytes().size();
            const std::int64_t keep = std::max<std::int64_t>(length - (size_ - end), 0);
            size_ -= length - keep;
            if (keep == 0)
                list_.removeLast();
            else if (last.own.isEmpty())
                last.view.truncate(qsizetype(keep));
            else
                last.own.truncate(qsizetype(keep));
        }
    }
    QList<FilePiece> list() const { return list_; }

private:
    void add(const FilePiece& piece)
    {
        size_ += piece.bytes().size();
        list_ << piece;
    }
    QList<FilePiece> list_;
    std::int64_t size_ = 0;
};

} // namespace

QList<FilePiece> lumpReplaced(const char* data, std::int64_t size, int lump,
                              QByteArrayView contents)
{
    const BspLayout layout = readLayout(data, size);
    if (lump < 0 || lump >= LumpCount)
        throw Failure(QStringLiteral("no lump %1 in a .bsp").arg(lump));
    if (overlapsOther(layout, lump))
        throw Failure(QStringLiteral("lump %1 (%2) shares its bytes with another lump")
                          .arg(lump)
                          .arg(QLatin1String(lumpName(lump))));
    QByteArray header(data, 8 + 8 * LumpCount);
    if (inHeader(layout, lump, header.size()))
        throw Failure(QStringLiteral("a lump lies within the .bsp's header"));
    const std::size_t replaced = std::size_t(lump);
    const std::int64_t at = layout.offset[replaced];
    const std::int64_t oldEnd = at + layout.length[replaced];
    // Zeros after the contents keep what follows on its 4-byte boundary.
    const std::int64_t padding = (4 - (contents.size() - layout.length[replaced]) % 4) % 4;
    const std::int64_t shift = contents.size() + padding - layout.length[replaced];

    std::int64_t lumpsEnd = 0;
    for (std::size_t i = 0; i < std::size_t(LumpCount); ++i) {
        // An empty lump that pointed into the replaced bytes points to their
        // start: past the new lump's end it could point past the file's.
        const std::int64_t offset = i == replaced                ? at
                                    : layout.offset[i] >= oldEnd ? layout.offset[i] + shift
                                    : layout.offset[i] > at      ? at
                                                                 : layout.offset[i];
        const std::int64_t length = i == replaced ? contents.size() : layout.length[i];
        putInt32(header, 8 + 8 * std::int64_t(i), offset);
        putInt32(header, 12 + 8 * std::int64_t(i), length);
        lumpsEnd = std::max(lumpsEnd, offset + length);
    }
    Pieces out;
    out.own(header);
    out.view(data + header.size(), at - header.size());
    out.view(contents.data(), contents.size());
    out.zeros(padding);
    out.view(data + oldEnd, layout.lumpsEnd - oldEnd);
    if (layout.bspxAt < 0) {
        // Whatever followed the lumps stays as it was.
        out.view(data + layout.lumpsEnd, size - layout.lumpsEnd);
        return out.list();
    }
    // The BSPX directory must sit where a reader looks for it, at the
    // lumps' end rounded up; its lumps follow it, each in its own bytes.
    out.truncate(lumpsEnd);
    out.zeros(aligned(lumpsEnd) - lumpsEnd);
    QByteArray directory(data + layout.bspxAt, qsizetype(8 + 32 * layout.bspx.size()));
    std::int64_t next = out.size() + directory.size();
    for (qsizetype i = 0; i < layout.bspx.size(); ++i) {
        next = aligned(next);
        putInt32(directory, 8 + 32 * i + 24, next);
        next += layout.bspx.at(i).length;
    }
    out.own(directory);
    for (const BspxLump& x : layout.bspx) {
        out.zeros(aligned(out.size()) - out.size());
        out.view(data + x.offset, x.length);
    }
    return out.list();
}

QByteArray withLump(const char* data, std::int64_t size, int lump, QByteArrayView contents)
{
    QByteArray joined;
    for (const FilePiece& piece : lumpReplaced(data, size, lump, contents))
        joined += piece.bytes();
    return joined;
}

void replaceLump(const QString& path, int lump, QByteArrayView contents)
{
    // A .bsp is a compile's output, made again by the next compile.
    platform::FileWriter out(path, platform::Durability::Unsynced);
    {
        // Read in place and written from there: a large file is never
        // copied whole in memory.
        const platform::MappedFile file(path);
        QList<FilePiece> replaced;
        try {
            replaced = lumpReplaced(file.data(), file.size(), lump, contents);
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("%1: %2").arg(path, failure.text()));
        }
        for (const FilePiece& piece : replaced)
            out.write(piece.bytes());
    }
    // Once the old file is closed: Windows replaces no file that is mapped.
    out.commit();
}

} // namespace bsp
