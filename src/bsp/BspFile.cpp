#include "bsp/BspFile.h"

#include "bsp/LightmapPage.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace bsp {

namespace {

constexpr std::int32_t bspVersion = 38;
constexpr std::int64_t headerSize = 8 + 8 * LumpCount;

// The texinfo flags whose faces the GL renderer gives no lightmap
// (Quake-2 ref_gl/gl_model.c Mod_LoadFaces): SURF_SKY, SURF_WARP,
// SURF_TRANS33, SURF_TRANS66 (game/q_shared.h).
constexpr std::int32_t surfSky = 0x4, surfWarp = 0x8, surfTrans33 = 0x10, surfTrans66 = 0x20;

const char* const lumpNames[LumpCount] = {
    "entities", "planes",     "vertexes",  "visibility",  "nodes",      "texinfo",   "faces",
    "lighting", "leafs",      "leaffaces", "leafbrushes", "edges",      "surfedges", "models",
    "brushes",  "brushsides", "pop",       "areas",       "areaportals"};

// IBSP / QBSP element bytes (q2-facts.md; Quake-2-Tools common/qfiles.h,
// ericw-tools include/common/bspfile_q2.hh).
const int elementBytes[LumpCount][2] = {
    {1, 1}, {20, 20}, {12, 12}, {1, 1},   {28, 44}, {76, 76}, {20, 28}, {1, 1}, {28, 52}, {2, 4},
    {2, 4}, {4, 8},   {4, 4},   {48, 48}, {12, 12}, {4, 8},   {1, 1},   {8, 8}, {8, 8}};

std::int32_t int32At(const char* p)
{
    std::int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint32_t uint32At(const char* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::int16_t int16At(const char* p)
{
    std::int16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint16_t uint16At(const char* p)
{
    std::uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

float floatAt(const char* p)
{
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[noreturn]] void broken(const QString& what)
{
    throw Failure(what);
}

QString lumpText(int lump)
{
    return QStringLiteral("lump %1 (%2)").arg(lump).arg(QLatin1String(lumpNames[lump]));
}

// The game's reading of the entity text (game/g_spawn.c ED_ParseEdict):
// "{" opens an entity, quoted keys and values follow in pairs, "}" closes
// it; a zero byte ends the text.
void readEntities(const char* p, std::int64_t size, BspInfo& info)
{
    int depth = 0;
    bool haveKey = false;
    std::string_view key;
    for (std::int64_t i = 0; i < size && p[i] != '\0'; ++i) {
        const char c = p[i];
        if (c == '"') {
            std::int64_t end = i + 1;
            while (end < size && p[end] != '"' && p[end] != '\0')
                ++end;
            const std::string_view text(p + i + 1, std::size_t(end - i - 1));
            if (depth == 1) {
                if (!haveKey) {
                    key = text;
                } else if (key == "classname" && text == "func_areaportal") {
                    ++info.funcAreaportals;
                }
                haveKey = !haveKey;
            }
            if (end >= size || p[end] == '\0')
                break;
            i = end;
        } else if (c == '{') {
            if (depth == 0)
                ++info.entities;
            ++depth;
            haveKey = false;
        } else if (c == '}' && depth > 0) {
            --depth;
        }
    }
}

struct Lumps {
    const char* data;
    std::array<std::int64_t, LumpCount> offset{}, length{}, count{};
    bool qbsp = false;
    const char* at(int lump, std::int64_t index) const
    {
        return data + offset[lump] + index * elementBytes[lump][qbsp ? 1 : 0];
    }
};

// Extents (CalcSurfaceExtents of ref_gl/gl_model.c, in float as there)
// and the lightmap packing of every face, with every index checked.
void readFaces(const Lumps& l, BspInfo& info)
{
    LightmapPage page;
    std::int64_t uploads = 0;
    for (std::int64_t f = 0; f < l.count[Faces]; ++f) {
        const char* face = l.at(Faces, f);
        std::int64_t firstEdge, edgeCount, texinfo;
        if (l.qbsp) {
            firstEdge = int32At(face + 8);
            edgeCount = int32At(face + 12);
            texinfo = int32At(face + 16);
        } else {
            firstEdge = int32At(face + 4);
            edgeCount = int16At(face + 8);
            texinfo = int16At(face + 10);
        }
        if (texinfo < 0 || texinfo >= l.count[Texinfo])
            broken(QStringLiteral("face %1 has texinfo %2, out of range (%3 texinfo)")
                       .arg(f)
                       .arg(texinfo)
                       .arg(l.count[Texinfo]));
        if (edgeCount < 0 || firstEdge < 0 || firstEdge + edgeCount > l.count[SurfEdges])
            broken(QStringLiteral("face %1 has edges %2 to %3, out of range (%4 surfedges)")
                       .arg(f)
                       .arg(firstEdge)
                       .arg(firstEdge + edgeCount - 1)
                       .arg(l.count[SurfEdges]));
        if (edgeCount == 0)
            continue;
        const char* tex = l.at(Texinfo, texinfo);
        float vecs[2][4];
        for (int j = 0; j < 2; ++j) {
            for (int k = 0; k < 4; ++k)
                vecs[j][k] = floatAt(tex + 16 * j + 4 * k);
        }
        float mins[2] = {999999, 999999}, maxs[2] = {-99999, -99999};
        for (std::int64_t i = 0; i < edgeCount; ++i) {
            const std::int64_t e = int32At(l.at(SurfEdges, firstEdge + i));
            const std::int64_t edge = e >= 0 ? e : -e;
            if (edge >= l.count[Edges])
                broken(QStringLiteral("face %1 uses edge %2, out of range (%3 edges)")
                           .arg(f)
                           .arg(edge)
                           .arg(l.count[Edges]));
            const char* ed = l.at(Edges, edge);
            const int side = e >= 0 ? 0 : 1;
            const std::int64_t vertex = l.qbsp ? std::int64_t(uint32At(ed + 4 * side))
                                               : std::int64_t(uint16At(ed + 2 * side));
            if (vertex >= l.count[Vertexes])
                broken(QStringLiteral("edge %1 uses vertex %2, out of range (%3 vertexes)")
                           .arg(edge)
                           .arg(vertex)
                           .arg(l.count[Vertexes]));
            const char* v = l.at(Vertexes, vertex);
            const float x = floatAt(v), y = floatAt(v + 4), z = floatAt(v + 8);
            for (int j = 0; j < 2; ++j) {
                const float val = x * vecs[j][0] + y * vecs[j][1] + z * vecs[j][2] + vecs[j][3];
                if (!std::isfinite(val) || std::fabs(val) > 1e9f)
                    broken(QStringLiteral("face %1 has texture coordinates out of range").arg(f));
                mins[j] = std::min(mins[j], val);
                maxs[j] = std::max(maxs[j], val);
            }
        }
        int extents[2];
        for (int j = 0; j < 2; ++j) {
            const auto low = std::int64_t(std::floor(mins[j] / 16));
            const auto high = std::int64_t(std::ceil(maxs[j] / 16));
            extents[j] = int(std::max<std::int64_t>(high - low, 0) * 16);
        }
        const std::int32_t flags = int32At(tex + 32);
        if (!(flags & (surfSky | surfWarp)))
            info.largestExtent =
                std::max<std::int64_t>(info.largestExtent, std::max(extents[0], extents[1]));
        if (flags & (surfSky | surfWarp | surfTrans33 | surfTrans66))
            continue;
        const int w = (extents[0] >> 4) + 1, h = (extents[1] >> 4) + 1;
        if (!page.allocate(w, h)) {
            ++uploads;
            page.clear();
            // Too large for any page: the engine stops there ("Consecutive
            // calls to LM_AllocBlock"); the extent row shows why.
            if (!page.allocate(w, h))
                ++uploads;
        }
    }
    // GL_EndBuildingLightmaps uploads the last page.
    info.lightmapPages = uploads + 1;
}

} // namespace

const char* lumpName(int lump)
{
    return lump >= 0 && lump < LumpCount ? lumpNames[lump] : "";
}

int elementSize(int lump, bool qbsp)
{
    return lump >= 0 && lump < LumpCount ? elementBytes[lump][qbsp ? 1 : 0] : 1;
}

BspLayout readLayout(const char* data, std::int64_t size)
{
    if (size < 8)
        broken(QStringLiteral("%1 bytes, shorter than a .bsp header").arg(size));
    const std::string_view magic(data, 4);
    if (magic != "IBSP" && magic != "QBSP") {
        QString shown;
        for (char c : magic)
            shown += c >= 0x20 && c < 0x7f ? QChar::fromLatin1(c) : QChar(u'?');
        broken(QStringLiteral("not a Quake II .bsp file: it starts with \"%1\", not \"IBSP\"")
                   .arg(shown));
    }
    const std::int32_t version = int32At(data + 4);
    if (version != bspVersion)
        broken(QStringLiteral("%1 version %2, not Quake II's %3")
                   .arg(QLatin1String(magic.data(), 4))
                   .arg(version)
                   .arg(bspVersion));
    if (size < headerSize)
        broken(
            QStringLiteral("%1 bytes, shorter than a .bsp header (%2)").arg(size).arg(headerSize));

    BspLayout layout;
    layout.qbsp = magic == "QBSP";
    layout.lumpsEnd = headerSize;
    for (int lump = 0; lump < LumpCount; ++lump) {
        const std::int64_t offset = int32At(data + 8 + 8 * lump);
        const std::int64_t length = int32At(data + 12 + 8 * lump);
        if (offset < 0 || length < 0)
            broken(QStringLiteral("%1 has a negative offset or length (%2, %3)")
                       .arg(lumpText(lump))
                       .arg(offset)
                       .arg(length));
        if (offset + length > size)
            broken(QStringLiteral("%1 ends past the file's end (%2 + %3 > %4 bytes)")
                       .arg(lumpText(lump))
                       .arg(offset)
                       .arg(length)
                       .arg(size));
        const int element = elementBytes[lump][layout.qbsp ? 1 : 0];
        if (length % element != 0)
            broken(QStringLiteral("%1 is %2 bytes, not a multiple of its element's %3")
                       .arg(lumpText(lump))
                       .arg(length)
                       .arg(element));
        layout.offset[std::size_t(lump)] = offset;
        layout.length[std::size_t(lump)] = length;
        layout.lumpsEnd = std::max(layout.lumpsEnd, offset + length);
    }

    // BSPX: at the last lump's end, rounded up to 4 bytes.
    const std::int64_t bspx = (layout.lumpsEnd + 3) & ~std::int64_t(3);
    if (bspx + 8 <= size && std::string_view(data + bspx, 4) == "BSPX") {
        const std::int64_t count = int32At(data + bspx + 4);
        if (count < 0 || bspx + 8 + count * 32 > size)
            broken(QStringLiteral("its BSPX directory (%1 lumps) ends past the file's end")
                       .arg(count));
        layout.bspxAt = bspx;
        for (std::int64_t i = 0; i < count; ++i) {
            const char* entry = data + bspx + 8 + 32 * i;
            BspxLump x;
            x.name = QString::fromLatin1(entry, qsizetype(qstrnlen(entry, 24)));
            x.offset = int32At(entry + 24);
            x.length = int32At(entry + 28);
            if (x.offset < 0 || x.length < 0 || x.offset + x.length > size)
                broken(QStringLiteral("BSPX lump %1 lies outside the file").arg(x.name));
            layout.bspx.append(x);
        }
    }
    return layout;
}

BspInfo readBsp(const char* data, std::int64_t size)
{
    const BspLayout layout = readLayout(data, size);
    BspInfo info;
    info.format = layout.qbsp ? QStringLiteral("QBSP") : QStringLiteral("IBSP");
    info.bspx = layout.bspx;
    Lumps l;
    l.data = data;
    l.qbsp = layout.qbsp;
    l.offset = layout.offset;
    l.length = layout.length;
    for (int lump = 0; lump < LumpCount; ++lump)
        l.count[std::size_t(lump)] =
            layout.length[std::size_t(lump)] / elementBytes[lump][l.qbsp ? 1 : 0];
    info.counts = l.count;

    readEntities(data + l.offset[Entities], l.length[Entities], info);

    if (l.count[Models] > 0) {
        const char* world = l.at(Models, 0);
        double largest = 0;
        for (int i = 0; i < 3; ++i) {
            info.mins[std::size_t(i)] = floatAt(world + 4 * i);
            info.maxs[std::size_t(i)] = floatAt(world + 12 + 4 * i);
            largest = std::max({largest, std::fabs(double(info.mins[std::size_t(i)])),
                                std::fabs(double(info.maxs[std::size_t(i)]))});
            if (!std::isfinite(info.mins[std::size_t(i)]) ||
                !std::isfinite(info.maxs[std::size_t(i)]))
                broken(QStringLiteral("the world model's bounds are not numbers"));
        }
        info.bounds = std::int64_t(std::ceil(std::min(largest, 1e15)));
    }

    readFaces(l, info);
    return info;
}

BspInfo readBspFile(const QString& path)
{
    QFile file(platform::localPath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure::cannotOpen(path);
    const std::int64_t size = file.size();
    try {
        if (size > 0) {
            if (const uchar* mapped = file.map(0, size))
                return readBsp(reinterpret_cast<const char*>(mapped), size);
        }
        const QByteArray bytes = file.readAll();
        return readBsp(bytes.constData(), bytes.size());
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(path, failure.text()));
    }
}

} // namespace bsp
