#include "bsp/LumpReplacement.h"

#include "bsp/BspFile.h"
#include "platform/Failure.h"
#include "platform/TextFile.h"

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

// Where [from, from + length) is shared with a lump of the layout other
// than the one replaced: such a file cannot have one lump changed alone.
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

} // namespace

QByteArray withLump(const char* data, std::int64_t size, int lump, QByteArrayView contents)
{
    const BspLayout layout = readLayout(data, size);
    if (lump < 0 || lump >= LumpCount)
        throw Failure(QStringLiteral("no lump %1 in a .bsp").arg(lump));
    if (overlapsOther(layout, lump))
        throw Failure(QStringLiteral("lump %1 (%2) shares its bytes with another lump")
                          .arg(lump)
                          .arg(QLatin1String(lumpName(lump))));
    const std::int64_t at = layout.offset[std::size_t(lump)];
    const std::int64_t oldEnd = at + layout.length[std::size_t(lump)];
    // Zeros after the contents keep what follows on its 4-byte boundary.
    const std::int64_t padding = (4 - (contents.size() - layout.length[std::size_t(lump)]) % 4) % 4;
    const std::int64_t shift = contents.size() + padding - layout.length[std::size_t(lump)];
    const auto moved = [&](std::int64_t offset) {
        return offset >= oldEnd ? offset + shift : offset;
    };

    QByteArray out;
    out.reserve(qsizetype(size + shift + 8));
    out.append(data, qsizetype(at));
    out.append(contents);
    out.append(qsizetype(padding), '\0');
    out.append(data + oldEnd, qsizetype(layout.lumpsEnd - oldEnd));

    std::int64_t lumpsEnd = 0;
    for (int other = 0; other < LumpCount; ++other) {
        const std::size_t i = std::size_t(other);
        const std::int64_t offset = other == lump ? at : moved(layout.offset[i]);
        const std::int64_t length = other == lump ? contents.size() : layout.length[i];
        putInt32(out, 8 + 8 * other, offset);
        putInt32(out, 12 + 8 * other, length);
        lumpsEnd = std::max(lumpsEnd, offset + length);
    }
    if (layout.bspxAt < 0) {
        // Whatever followed the lumps stays as it was.
        out.append(data + layout.lumpsEnd, qsizetype(size - layout.lumpsEnd));
        return out;
    }
    // The BSPX directory must sit where a reader looks for it, at the
    // lumps' end rounded up; its lumps follow it, each in its own bytes.
    out.truncate(qsizetype(lumpsEnd));
    out.append(qsizetype(aligned(lumpsEnd) - lumpsEnd), '\0');
    const std::int64_t directory = out.size();
    out.append(data + layout.bspxAt, 8);
    out.append(qsizetype(32 * layout.bspx.size()), '\0');
    for (qsizetype i = 0; i < layout.bspx.size(); ++i) {
        const BspxLump& x = layout.bspx.at(i);
        const std::int64_t entry = directory + 8 + 32 * i;
        std::copy_n(data + layout.bspxAt + 8 + 32 * i, 24, out.data() + entry);
        out.append(qsizetype(aligned(out.size()) - out.size()), '\0');
        putInt32(out, entry + 24, out.size());
        putInt32(out, entry + 28, x.length);
        out.append(data + x.offset, qsizetype(x.length));
    }
    return out;
}

void replaceLump(const QString& path, int lump, QByteArrayView contents)
{
    const QByteArray bytes = textfile::readBytes(path);
    QByteArray replaced;
    try {
        replaced = withLump(bytes.constData(), bytes.size(), lump, contents);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(path, failure.text()));
    }
    textfile::writeFile(path, replaced);
}

} // namespace bsp
