// The .bsp reader on any bytes: a broken file is a Failure, never a crash;
// what it reads fits the file: each lump's elements, the BSPX directory,
// and no figure that needs more than the file holds. The world's leafs and
// a visibility lump put in: the same, and the new file reads as the old.
#include "FuzzSupport.h"
#include "bsp/BspFile.h"
#include "bsp/LumpReplacement.h"
#include "bsp/WorldLeafs.h"
#include "platform/Failure.h"

namespace {

void checkVisibilityReplaced(const char* data, std::int64_t size)
{
    const bsp::BspLayout before = bsp::readLayout(data, size);
    const QByteArray lump(qsizetype(size % 23), 'v');
    const QByteArray out = bsp::withLump(data, size, bsp::Visibility, lump);
    const bsp::BspLayout after = bsp::readLayout(out.constData(), out.size());
    for (int i = 0; i < bsp::LumpCount; ++i) {
        const auto at = std::size_t(i);
        const QByteArrayView was(data + before.offset[at], qsizetype(before.length[at]));
        const QByteArrayView now(out.constData() + after.offset[at], qsizetype(after.length[at]));
        fuzz::check(now == (i == bsp::Visibility ? QByteArrayView(lump) : was),
                    "every other lump keeps its bytes", QString::number(i));
    }
    fuzz::check(after.bspx.size() == before.bspx.size(), "the BSPX lumps are kept");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto length = std::int64_t(size);
    try {
        const bsp::BspInfo info = bsp::readBsp(reinterpret_cast<const char*>(data), length);
        const bool qbsp = info.format == QLatin1String("QBSP");
        std::int64_t bytes = 0;
        for (int lump = 0; lump < bsp::LumpCount; ++lump) {
            const std::int64_t count = info.counts[std::size_t(lump)];
            fuzz::check(count >= 0, "a lump's count is not negative");
            bytes = std::max(bytes, count * bsp::elementSize(lump, qbsp));
        }
        fuzz::check(bytes <= length, "every lump lies within the file");
        fuzz::check(std::int64_t(info.bspx.size()) * 32 <= length,
                    "the BSPX directory lies within the file");
        for (const bsp::BspxLump& x : info.bspx)
            fuzz::check(x.offset >= 0 && x.length >= 0 && x.offset + x.length <= length,
                        "each BSPX lump lies within the file", x.name);
        fuzz::check(info.entities <= info.counts[bsp::Entities] &&
                        info.funcAreaportals <= info.entities,
                    "the entities are counted in the entity text");
        fuzz::check(info.lightmapPages >= 1 &&
                        info.lightmapPages <= 2 * info.counts[bsp::Faces] + 1,
                    "a face takes two pages at most");
        fuzz::check(info.bounds >= 0 && info.largestExtent >= 0, "the figures are not negative");
    } catch (const Failure& failure) {
        fuzz::check(!failure.text().isEmpty(), "a broken file says what is wrong");
    }
    try {
        const auto leafs = bsp::worldLeafClusters(reinterpret_cast<const char*>(data), length);
        fuzz::check(std::int64_t(leafs.size()) * 28 <= length, "each leaf lies within the file");
    } catch (const Failure& failure) {
        fuzz::check(!failure.text().isEmpty(), "a broken file says what is wrong");
    }
    try {
        checkVisibilityReplaced(reinterpret_cast<const char*>(data), length);
    } catch (const Failure& failure) {
        fuzz::check(!failure.text().isEmpty(), "a broken file says what is wrong");
    }
    return 0;
}
