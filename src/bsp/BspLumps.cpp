#include "bsp/BspLumps.h"

#include "platform/Failure.h"

namespace bsp {

BspLumps lumpsOf(const char* data, std::int64_t size)
{
    constexpr std::int64_t headerSize = 8 + 8 * LumpCount;
    if (size < headerSize)
        throw Failure(QStringLiteral("%1 bytes, shorter than a .bsp header").arg(size));
    BspLumps l;
    l.data = data;
    l.size = size;
    l.qbsp = std::string_view(data, 4) == "QBSP";
    for (int lump = 0; lump < LumpCount; ++lump) {
        l.offset[lump] = int32At(data + 8 + 8 * lump);
        l.length[lump] = int32At(data + 12 + 8 * lump);
        if (l.offset[lump] < 0 || l.length[lump] < 0 || l.offset[lump] + l.length[lump] > size)
            throw Failure(QStringLiteral("lump %1 lies outside the file").arg(lump));
        l.count[lump] = l.length[lump] / elementSize(lump, l.qbsp);
    }
    return l;
}

} // namespace bsp
