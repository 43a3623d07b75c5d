#include "GeneratedMaps.h"

#include "bsp/BspFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace generated {

namespace {

struct Point {
    float x, y, z;
};

struct Polygon {
    std::array<Point, 4> corners;
    int texinfo; // 3 * texture + axis (0: floor, 1: x wall, 2: y wall)
    Point normal{0, 0, 1};
};

template <typename T> void append(QByteArray& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

constexpr int textures = 8;

// s and t along the face's plane, a texel a unit, as compilers set them.
std::array<float, 8> vectorsOf(int axis)
{
    switch (axis) {
    case 1:
        return {0, 1, 0, 0, 0, 0, -1, 0};
    case 2:
        return {1, 0, 0, 0, 0, 0, -1, 0};
    default:
        return {1, 0, 0, 0, 0, 1, 0, 0};
    }
}

// Luxels along one axis, as the scene (and the game) work them out.
int luxels(float low, float high)
{
    return int(std::ceil(high / 16) - std::floor(low / 16)) + 1;
}

// A world's tree and visibility: lumps laid down as they are; node planes
// are numbered after the faces' own (one a face).
struct World {
    QByteArray planes, nodes, leafs, leafFaces, visibility;
};

QByteArray bspOf(const std::vector<Polygon>& polygons, const QByteArray& entities,
                 const Point& mins, const Point& maxs, const World& world = {})
{
    QByteArray lumps[bsp::LumpCount];
    lumps[bsp::Entities] = entities + '\0';
    for (int texture = 0; texture < textures; ++texture) {
        for (int axis = 0; axis < 3; ++axis) {
            for (float v : vectorsOf(axis))
                append(lumps[bsp::Texinfo], v);
            append(lumps[bsp::Texinfo], qint32(0)); // flags
            append(lumps[bsp::Texinfo], qint32(0)); // value
            lumps[bsp::Texinfo].append(
                QByteArray("bench/wall" + QByteArray::number(texture)).leftJustified(32, '\0'));
            append(lumps[bsp::Texinfo], qint32(-1));
        }
    }
    for (const Polygon& polygon : polygons) {
        const Point& n = polygon.normal;
        const Point& c0 = polygon.corners[0];
        const qint32 plane = qint32(lumps[bsp::Planes].size() / 20);
        for (float v : {n.x, n.y, n.z, n.x * c0.x + n.y * c0.y + n.z * c0.z})
            append(lumps[bsp::Planes], v);
        append(lumps[bsp::Planes], qint32(polygon.texinfo % 3 == 0 ? 2 : polygon.texinfo % 3 - 1));
        const auto vecs = vectorsOf(polygon.texinfo % 3);
        float low[2] = {1e30f, 1e30f}, high[2] = {-1e30f, -1e30f};
        const qint32 firstEdge = qint32(lumps[bsp::SurfEdges].size() / 4);
        const quint32 firstVertex = quint32(lumps[bsp::Vertexes].size() / 12);
        for (int i = 0; i < 4; ++i) {
            const Point& p = polygon.corners[std::size_t(i)];
            append(lumps[bsp::Vertexes], p.x);
            append(lumps[bsp::Vertexes], p.y);
            append(lumps[bsp::Vertexes], p.z);
            for (int j = 0; j < 2; ++j) {
                const float st = p.x * vecs[std::size_t(4 * j)] +
                                 p.y * vecs[std::size_t(4 * j + 1)] +
                                 p.z * vecs[std::size_t(4 * j + 2)];
                low[j] = std::min(low[j], st);
                high[j] = std::max(high[j], st);
            }
            append(lumps[bsp::SurfEdges], qint32(lumps[bsp::Edges].size() / 8));
            append(lumps[bsp::Edges], firstVertex + quint32(i));
            append(lumps[bsp::Edges], firstVertex + quint32((i + 1) % 4));
        }
        const int w = luxels(low[0], high[0]), h = luxels(low[1], high[1]);
        const qint32 lightofs = qint32(lumps[bsp::Lighting].size());
        const Point& c = polygon.corners[0];
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                // Pools of light, warm and cool, across the map.
                const float glow = 0.5f + 0.5f * std::sin(c.x / 700 + float(x) / 9) *
                                              std::cos(c.y / 500 + float(y) / 7);
                lumps[bsp::Lighting].append(char(40 + 180 * glow));
                lumps[bsp::Lighting].append(char(40 + 150 * glow));
                lumps[bsp::Lighting].append(char(60 + 120 * (1 - glow)));
            }
        }
        append(lumps[bsp::Faces], plane);
        append(lumps[bsp::Faces], qint32(0)); // side
        append(lumps[bsp::Faces], firstEdge);
        append(lumps[bsp::Faces], qint32(4));
        append(lumps[bsp::Faces], qint32(polygon.texinfo));
        lumps[bsp::Faces].append("\0\xff\xff\xff", 4); // style 0 only
        append(lumps[bsp::Faces], lightofs);
    }
    for (float v : {mins.x, mins.y, mins.z, maxs.x, maxs.y, maxs.z, 0.0f, 0.0f, 0.0f})
        append(lumps[bsp::Models], v);
    append(lumps[bsp::Models], qint32(0));
    append(lumps[bsp::Models], qint32(0));
    append(lumps[bsp::Models], qint32(polygons.size()));
    lumps[bsp::Planes] += world.planes;
    lumps[bsp::Nodes] = world.nodes;
    lumps[bsp::Leafs] = world.leafs;
    lumps[bsp::LeafFaces] = world.leafFaces;
    lumps[bsp::Visibility] = world.visibility;
    append(lumps[bsp::Areas], qint64(0));
    append(lumps[bsp::AreaPortals], qint64(0));

    QByteArray file("QBSP", 4);
    append(file, qint32(38));
    file.append(8 * bsp::LumpCount, '\0');
    for (int lump = 0; lump < bsp::LumpCount; ++lump) {
        const qint32 offset = qint32(file.size()), length = qint32(lumps[lump].size());
        std::memcpy(file.data() + 8 + 8 * lump, &offset, 4);
        std::memcpy(file.data() + 12 + 8 * lump, &length, 4);
        file.append(lumps[lump]);
    }
    return file;
}

QByteArray wal(int texture)
{
    QByteArray texels;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            texels.append(char(16 * (texture + 1) + ((x / 8 + y / 8) % 2 ? 4 : 10)));
    }
    QByteArray head =
        QByteArray("bench/wall" + QByteArray::number(texture)).leftJustified(32, '\0');
    for (quint32 v : {64u, 64u, 100u, 100u + 4096, 100u + 5120, 100u + 5376})
        append(head, v);
    return head + QByteArray(44, '\0') + texels + QByteArray(1024 + 256 + 64, 0);
}

QString writeGame(const QString& root, const QString& name, const QByteArray& bsp)
{
    const QString game = root + QStringLiteral("/quake2/baseq2/");
    QDir().mkpath(game + QStringLiteral("maps"));
    QByteArray data, directory;
    QByteArray palette(128, '\0');
    palette[0] = 10;
    palette[3] = 8;
    palette[65] = 1;
    palette += QByteArray(1, '\0') + '\x0c';
    for (int i = 0; i < 256; ++i) {
        const int hue = i / 16, level = i % 16 + 1;
        palette.append(char((hue * 53 % 256) * level / 16));
        palette.append(char((hue * 97 % 256) * level / 16));
        palette.append(char((255 - hue * 31 % 256) * level / 16));
    }
    QList<std::pair<QByteArray, QByteArray>> files{{"pics/colormap.pcx", palette}};
    for (int texture = 0; texture < textures; ++texture)
        files.append({"textures/bench/wall" + QByteArray::number(texture) + ".wal", wal(texture)});
    for (const auto& [file, bytes] : files) {
        QByteArray entry = file.leftJustified(56, '\0');
        append(entry, qint32(12 + data.size()));
        append(entry, qint32(bytes.size()));
        directory += entry;
        data += bytes;
    }
    QByteArray pak("PACK");
    append(pak, qint32(12 + data.size()));
    append(pak, qint32(directory.size()));
    QFile pakFile(game + QStringLiteral("pak0.pak"));
    pakFile.open(QIODevice::WriteOnly);
    pakFile.write(pak + data + directory);
    const QString path = game + QStringLiteral("maps/") + name + QStringLiteral(".bsp");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bsp);
    return path;
}

const QByteArray start = "{\n\"classname\" \"worldspawn\"\n}\n{\n\"classname\" "
                         "\"info_player_start\"\n\"origin\" \"0 0 96\"\n\"angle\" \"45\"\n}\n";

} // namespace

// A QBSP tree over a grid of side x side clusters, each one leaf of the
// tiles in its square of a tiles x tiles floor (64 units a tile, centred),
// split alternately along x and y; each cluster sees the clusters within
// `reach` squares of it, run-length coded as vis writes it.
World worldOf(int tiles, int side, int reach, int firstPlane)
{
    World world;
    const auto tileOf = [tiles, side](int cell) { return cell * tiles / side; };
    const auto unit = [tiles](int tile) { return float(64 * (tile - tiles / 2)); };
    // Leaf c: cells (c % side, c / side); its tiles' faces, in the order the
    // tiles were written (row by row).
    for (int cy = 0; cy < side; ++cy) {
        for (int cx = 0; cx < side; ++cx) {
            const qint32 first = qint32(world.leafFaces.size() / 4);
            for (int ty = tileOf(cy); ty < tileOf(cy + 1); ++ty) {
                for (int tx = tileOf(cx); tx < tileOf(cx + 1); ++tx)
                    append(world.leafFaces, quint32(ty * tiles + tx));
            }
            append(world.leafs, qint32(0));              // contents
            append(world.leafs, qint32(cy * side + cx)); // cluster
            append(world.leafs, qint32(0));              // area
            for (float v : {unit(tileOf(cx)), unit(tileOf(cy)), -16.0f, unit(tileOf(cx + 1)),
                            unit(tileOf(cy + 1)), 128.0f})
                append(world.leafs, v);
            append(world.leafs, quint32(first));
            append(world.leafs, quint32(world.leafFaces.size() / 4 - first));
            append(world.leafs, quint32(0));
            append(world.leafs, quint32(0));
        }
    }
    // Nodes over cell ranges, split at the middle of the wider side.
    struct Range {
        int x0, y0, x1, y1;
    };
    std::function<qint32(Range)> node = [&](Range r) -> qint32 {
        if (r.x1 - r.x0 == 1 && r.y1 - r.y0 == 1)
            return -(r.y0 * side + r.x0) - 1;
        const bool alongX = r.x1 - r.x0 >= r.y1 - r.y0;
        const int middle = alongX ? (r.x0 + r.x1) / 2 : (r.y0 + r.y1) / 2;
        const qint32 index = qint32(world.nodes.size() / 44);
        world.nodes.append(44, '\0');
        const qint32 plane = firstPlane + qint32(world.planes.size() / 20);
        for (float v : {alongX ? 1.0f : 0.0f, alongX ? 0.0f : 1.0f, 0.0f, unit(tileOf(middle))})
            append(world.planes, v);
        append(world.planes, qint32(alongX ? 0 : 1));
        const qint32 front =
            node(alongX ? Range{middle, r.y0, r.x1, r.y1} : Range{r.x0, middle, r.x1, r.y1});
        const qint32 back =
            node(alongX ? Range{r.x0, r.y0, middle, r.y1} : Range{r.x0, r.y0, r.x1, middle});
        char* p = world.nodes.data() + 44 * index;
        std::memcpy(p, &plane, 4);
        std::memcpy(p + 4, &front, 4);
        std::memcpy(p + 8, &back, 4);
        return index;
    };
    node({0, 0, side, side});
    // Visibility: the header, then the rows.
    const int clusters = side * side, rowBytes = (clusters + 7) / 8;
    QByteArray rows;
    std::vector<qint32> offsets;
    const qint32 header = 4 + 8 * clusters;
    for (int c = 0; c < clusters; ++c) {
        QByteArray row(rowBytes, '\0');
        const int cx = c % side, cy = c / side;
        for (int y = std::max(0, cy - reach); y <= std::min(side - 1, cy + reach); ++y) {
            for (int x = std::max(0, cx - reach); x <= std::min(side - 1, cx + reach); ++x)
                row[(y * side + x) / 8] = char(row[(y * side + x) / 8] | 1 << ((y * side + x) % 8));
        }
        offsets.push_back(header + qint32(rows.size()));
        for (int i = 0; i < rowBytes;) {
            if (row[i] != 0) {
                rows += row[i++];
                continue;
            }
            int zeros = 0;
            while (i < rowBytes && row[i] == 0 && zeros < 255) {
                ++zeros;
                ++i;
            }
            rows += '\0';
            rows += char(zeros);
        }
    }
    append(world.visibility, qint32(clusters));
    for (qint32 offset : offsets) {
        append(world.visibility, offset);
        append(world.visibility, offset);
    }
    world.visibility += rows;
    return world;
}

QString writeBigMap(const QString& root)
{
    // Each tile: 4 vertexes, edges and surfedges, a plane, a face and 5 x 5
    // luxels, 219 bytes; the tree and the visibility about 3 MB more.
    const int n = 352;
    std::vector<Polygon> tiles;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float x0 = float(64 * (x - n / 2)), y0 = float(64 * (y - n / 2));
            tiles.push_back(
                {{{{x0, y0, 0}, {x0 + 64, y0, 0}, {x0 + 64, y0 + 64, 0}, {x0, y0 + 64, 0}}},
                 3 * ((x / 4 + y / 4) % textures)});
        }
    }
    const float side = float(32 * n);
    // 10,000 clusters, each seeing those within ten squares.
    return writeGame(root, QStringLiteral("big"),
                     bspOf(tiles, start, {-side, -side, -16}, {side, side, 16},
                           worldOf(n, 100, 10, int(tiles.size()))));
}

QString writeTinyMap(const QString& root)
{
    const std::vector<Polygon> tile{{{{{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}}}, 0}};
    return writeGame(root, QStringLiteral("tiny"), bspOf(tile, start, {0, 0, -16}, {64, 64, 16}));
}

QString writeFieldMap(const QString& root)
{
    std::vector<Polygon> faces;
    // 100 x 100 floor tiles of 64 units.
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const float x0 = float(64 * (x - 50)), y0 = float(64 * (y - 50));
            faces.push_back(
                {{{{x0, y0, 0}, {x0 + 64, y0, 0}, {x0 + 64, y0 + 64, 0}, {x0, y0 + 64, 0}}},
                 3 * ((x + y) % textures)});
        }
    }
    // 50 x 40 pillars of 32 x 32 x 128: four sides and a top each.
    for (int j = 0; j < 40; ++j) {
        for (int i = 0; i < 50; ++i) {
            const float x0 = float(128 * (i - 25) + 16), y0 = float(128 * (j - 20) + 16);
            const float x1 = x0 + 32, y1 = y0 + 32, h = 128;
            const int t = 3 * ((i * 7 + j * 3) % textures);
            faces.push_back({{{{x0, y0, h}, {x1, y0, h}, {x1, y1, h}, {x0, y1, h}}}, t});
            faces.push_back(
                {{{{x0, y0, 0}, {x1, y0, 0}, {x1, y0, h}, {x0, y0, h}}}, t + 2, {0, -1, 0}});
            faces.push_back(
                {{{{x1, y1, 0}, {x0, y1, 0}, {x0, y1, h}, {x1, y1, h}}}, t + 2, {0, 1, 0}});
            faces.push_back(
                {{{{x0, y1, 0}, {x0, y0, 0}, {x0, y0, h}, {x0, y1, h}}}, t + 1, {-1, 0, 0}});
            faces.push_back(
                {{{{x1, y0, 0}, {x1, y1, 0}, {x1, y1, h}, {x1, y0, h}}}, t + 1, {1, 0, 0}});
        }
    }
    return writeGame(root, QStringLiteral("field"),
                     bspOf(faces, start, {-3200, -3200, -16}, {3200, 3200, 160}));
}

} // namespace generated
