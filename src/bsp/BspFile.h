#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// A compiled Quake II map: the header and every lump of an IBSP (version 38)
// or QBSP file checked against the file, the count of each lump and the
// figures the engines' limits are about. Nothing is copied from the file:
// the figures are read in place.
namespace bsp {

enum Lump {
    Entities,
    Planes,
    Vertexes,
    Visibility,
    Nodes,
    Texinfo,
    Faces,
    Lighting,
    Leafs,
    LeafFaces,
    LeafBrushes,
    Edges,
    SurfEdges,
    Models,
    Brushes,
    BrushSides,
    Pop,
    Areas,
    AreaPortals,
    LumpCount
};

// "entities", "planes", ...: as bspinfo names them, "texinfo" and
// "visibility" spelled as the report does.
const char* lumpName(int lump);
// Bytes of one element; 1 for the text and byte lumps.
int elementSize(int lump, bool qbsp);

// A lump ericw-tools appends after the last standard one.
struct BspxLump {
    QString name;
    std::int64_t offset = 0;
    std::int64_t length = 0;
    bool operator==(const BspxLump&) const = default;
};

struct BspInfo {
    QString format; // "IBSP" or "QBSP"
    // Elements of each lump; bytes for entities, visibility, lighting, pop.
    std::array<std::int64_t, LumpCount> counts{};
    QList<BspxLump> bspx;
    std::int64_t entities = 0;           // "{" blocks of the entity text
    std::int64_t funcAreaportals = 0;    // entities of classname func_areaportal
    std::array<float, 3> mins{}, maxs{}; // model 0's (the world's)
    std::int64_t bounds = 0;             // largest absolute coordinate, rounded up
    std::int64_t lightmapPages = 0;      // 128 x 128 pages as the GL renderer packs them
    std::int64_t largestExtent = 0;      // texels, over faces other than sky and warp
};

// Where each lump lies in a .bsp file: the header and the BSPX directory,
// checked against the file's size and the lumps' element sizes.
struct BspLayout {
    bool qbsp = false;
    std::array<std::int64_t, LumpCount> offset{}, length{};
    std::int64_t lumpsEnd = 0; // the end of the last standard lump
    std::int64_t bspxAt = -1;  // the BSPX directory; -1: none
    QList<BspxLump> bspx;
};

// The layout of a .bsp file's bytes, as readBsp checks it. Throws Failure
// saying what is wrong, without a path.
BspLayout readLayout(const char* data, std::int64_t size);

// Reads the bytes of a .bsp file. A broken file throws Failure saying what
// is wrong ("lump faces ends past the file's end"), without a path.
BspInfo readBsp(const char* data, std::int64_t size);
inline BspInfo readBsp(const QByteArray& bytes)
{
    return readBsp(bytes.constData(), bytes.size());
}

// Reads the file in place (mapped where the system allows). Throws Failure
// naming the file: "Cannot open file" or "<path>: <what is wrong>".
BspInfo readBspFile(const QString& path);

} // namespace bsp
