#include "scene/SceneBuilder.h"

#include "bsp/BspLumps.h"
#include "map/MapReader.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "scene/GameFiles.h"
#include "scene/Lightmaps.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace scene {

namespace {

// The eye stands this far above a player start (game/p_client.c viewheight).
constexpr float eyeHeight = 22;

// Where each face lies in the file, IBSP or QBSP.
struct FaceRecord {
    std::int64_t plane, side, firstEdge, edgeCount, texinfo;
    std::array<std::uint8_t, 4> styles;
    std::int64_t lightOffset;
};

FaceRecord faceAt(const bsp::BspLumps& l, std::int64_t f)
{
    const char* p = l.at(bsp::Faces, f);
    FaceRecord r{};
    if (l.qbsp) {
        r.plane = bsp::uint32At(p);
        r.side = bsp::int32At(p + 4);
        r.firstEdge = bsp::int32At(p + 8);
        r.edgeCount = bsp::int32At(p + 12);
        r.texinfo = bsp::int32At(p + 16);
        std::copy(p + 20, p + 24, r.styles.begin());
        r.lightOffset = bsp::int32At(p + 24);
    } else {
        r.plane = bsp::uint16At(p);
        r.side = bsp::int16At(p + 2);
        r.firstEdge = bsp::int32At(p + 4);
        r.edgeCount = bsp::int16At(p + 8);
        r.texinfo = bsp::int16At(p + 10);
        std::copy(p + 12, p + 16, r.styles.begin());
        r.lightOffset = bsp::int32At(p + 16);
    }
    return r;
}

Vec3 vertexOfEdge(const bsp::BspLumps& l, std::int64_t surfEdge)
{
    const std::int64_t e = bsp::int32At(l.at(bsp::SurfEdges, surfEdge));
    const char* edge = l.at(bsp::Edges, e >= 0 ? e : -e);
    const int side = e >= 0 ? 0 : 1;
    const std::int64_t vertex = l.qbsp ? std::int64_t(bsp::uint32At(edge + 4 * side))
                                       : std::int64_t(bsp::uint16At(edge + 2 * side));
    const char* v = l.at(bsp::Vertexes, vertex);
    return {bsp::floatAt(v), bsp::floatAt(v + 4), bsp::floatAt(v + 8)};
}

QByteArray entityText(const bsp::BspLumps& l)
{
    const std::string_view text = l.bytes(bsp::Entities);
    return QByteArray(text.data(), qsizetype(std::min(text.find('\0'), text.size())));
}

std::optional<map::MapFile> entitiesOf(const QByteArray& text)
{
    try {
        return map::parseMap(text);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// The model each face belongs to, and each model's offset: a brush model is
// drawn at its entity's origin.
void placeModels(const bsp::BspLumps& l, const std::optional<map::MapFile>& entities,
                 std::vector<Face>& faces, std::vector<Vec3>& offsets)
{
    offsets.assign(std::size_t(l.count[bsp::Models]), Vec3{});
    for (std::int64_t m = 0; m < l.count[bsp::Models]; ++m) {
        const char* model = l.at(bsp::Models, m);
        const std::int64_t first = bsp::int32At(model + 40), count = bsp::int32At(model + 44);
        if (first < 0 || count < 0 || first + count > std::int64_t(faces.size()))
            continue;
        for (std::int64_t f = first; f < first + count; ++f)
            faces[std::size_t(f)].model = std::int32_t(m);
    }
    if (!entities)
        return;
    for (const map::MapEntity& entity : entities->entities) {
        const QString model = entity.value(QStringLiteral("model"));
        bool ok = false;
        const int index = model.startsWith(QLatin1Char('*')) ? model.mid(1).toInt(&ok) : 0;
        const std::optional<map::Vec3> origin = entity.origin();
        if (ok && index > 0 && index < int(offsets.size()) && origin)
            offsets[std::size_t(index)] = {float(origin->x), float(origin->y), float(origin->z)};
    }
}

class TextureTable {
public:
    TextureTable(const GameFiles* files, Scene& scene) : files_(files), scene_(scene)
    {
        if (!files_) {
            palette_ = Palette::grey(QString());
            return;
        }
        const QString name = QStringLiteral("pics/colormap.pcx");
        const std::optional<QByteArray> bytes = files_->read(name);
        palette_ = bytes ? readPalette(*bytes, name)
                         : Palette::grey(QStringLiteral("no pics/colormap.pcx in the game "
                                                        "folders: textures are drawn with a "
                                                        "grey palette"));
        if (!palette_.problem.isEmpty())
            scene_.problems << palette_.problem;
    }

    std::int32_t indexOf(const char* texinfo)
    {
        const QString name =
            QString::fromLatin1(texinfo + 40, qsizetype(qstrnlen(texinfo + 40, 32)));
        const auto known = indices_.constFind(name);
        if (known != indices_.constEnd())
            return *known;
        Texture texture{name, {}, false};
        const std::optional<QByteArray> bytes =
            files_ ? files_->read(QStringLiteral("textures/") + name + QStringLiteral(".wal"))
                   : std::nullopt;
        std::optional<Image> image = bytes ? readWal(*bytes, palette_) : std::nullopt;
        texture.found = image.has_value();
        if (image)
            texture.image = std::move(*image);
        if (!bytes)
            ++scene_.missingTextures;
        else if (!image)
            ++scene_.brokenTextures;
        const auto index = std::int32_t(scene_.textures.size());
        scene_.textures.push_back(std::move(texture));
        indices_.insert(name, index);
        return index;
    }

private:
    const GameFiles* files_;
    Scene& scene_;
    Palette palette_;
    QHash<QString, std::int32_t> indices_;
};

Look lookOf(std::int32_t flags, std::int64_t edgeCount)
{
    if (edgeCount == 0 || flags & SurfNodraw)
        return Look::Hidden;
    if (flags & SurfSky)
        return Look::Sky;
    if (flags & (SurfWarp | SurfTrans33 | SurfTrans66))
        return Look::Unlit;
    return Look::Lit;
}

// The face's polygon with its texture positions, its extents (as
// CalcSurfaceExtents of ref_gl/gl_model.c, in float as there) and its place
// in the lightmap pages, as BspFile's count of pages walks them. The
// vertexes' lightmap positions are left in luxels of the face's own block.
void buildFace(const bsp::BspLumps& l, std::int64_t f, TextureTable& textures,
               LightmapPacker& packer, Scene& scene)
{
    const FaceRecord r = faceAt(l, f);
    Face& face = scene.faces[std::size_t(f)];
    const char* tex = l.at(bsp::Texinfo, r.texinfo);
    face.flags = bsp::int32At(tex + 32);
    face.styles = r.styles;
    face.look = lookOf(face.flags, r.edgeCount);
    face.firstVertex = std::uint32_t(scene.vertices.size());
    face.vertexCount = std::uint32_t(r.edgeCount);
    if (r.edgeCount == 0)
        return;
    // A plane out of range leaves the face seen from both sides.
    if (r.plane < l.count[bsp::Planes]) {
        const char* plane = l.at(bsp::Planes, r.plane);
        const float flip = r.side ? -1 : 1;
        face.normal =
            Vec3{bsp::floatAt(plane), bsp::floatAt(plane + 4), bsp::floatAt(plane + 8)} * flip;
        face.distance = bsp::floatAt(plane + 12) * flip;
    }
    face.texture = textures.indexOf(tex);
    // The compilers give each face surfedges of its own. Faces of a damaged
    // file that share them could ask for far more vertexes than the file
    // holds: past the surfedges' count they are left out, and counted.
    const bool kept = std::int64_t(scene.vertices.size()) + r.edgeCount <= l.count[bsp::SurfEdges];
    if (!kept) {
        ++scene.facesSharingEdges;
        face.look = Look::Hidden;
        face.vertexCount = 0;
    }
    float vecs[2][4];
    for (int j = 0; j < 2; ++j) {
        for (int k = 0; k < 4; ++k)
            vecs[j][k] = bsp::floatAt(tex + 16 * j + 4 * k);
    }
    float mins[2] = {999999, 999999}, maxs[2] = {-99999, -99999};
    for (std::int64_t i = 0; i < r.edgeCount; ++i) {
        Vertex vertex;
        vertex.position = vertexOfEdge(l, r.firstEdge + i);
        const Vec3& p = vertex.position;
        float st[2];
        for (int j = 0; j < 2; ++j) {
            st[j] = p.x * vecs[j][0] + p.y * vecs[j][1] + p.z * vecs[j][2] + vecs[j][3];
            mins[j] = std::min(mins[j], st[j]);
            maxs[j] = std::max(maxs[j], st[j]);
        }
        vertex.s = st[0];
        vertex.t = st[1];
        if (kept)
            scene.vertices.push_back(vertex);
    }
    int low[2], extents[2];
    for (int j = 0; j < 2; ++j) {
        low[j] = int(std::floor(mins[j] / 16));
        const auto high = std::int64_t(std::ceil(maxs[j] / 16));
        extents[j] = int(std::max<std::int64_t>(high - low[j], 0) * 16);
    }
    for (std::uint32_t i = 0; i < face.vertexCount; ++i) {
        Vertex& v = scene.vertices[face.firstVertex + i];
        v.u = (v.s - float(low[0] * 16)) / 16 + 0.5f;
        v.v = (v.t - float(low[1] * 16)) / 16 + 0.5f;
    }
    if (face.flags & (SurfSky | SurfWarp | SurfTrans33 | SurfTrans66))
        return;
    face.lightWidth = (extents[0] >> 4) + 1;
    face.lightHeight = (extents[1] >> 4) + 1;
    const std::optional<LightmapPacker::Block> block =
        packer.place(face.lightWidth, face.lightHeight);
    if (!block) {
        ++scene.facesTooLarge;
        return;
    }
    face.page = block->page;
    face.lightX = block->x;
    face.lightY = block->y;
}

// Lightmap positions into the atlas, each block copied in; faces without
// light of their own take a constant luxel.
void fillLightmaps(const bsp::BspLumps& l, Scene& scene)
{
    LightmapAtlas& atlas = scene.lightmaps;
    const std::string_view lighting = l.bytes(bsp::Lighting);
    for (std::int64_t f = 0; f < std::int64_t(scene.faces.size()); ++f) {
        Face& face = scene.faces[std::size_t(f)];
        const std::int64_t offset = faceAt(l, f).lightOffset;
        const std::int64_t bytes = blockBytes(face);
        if (face.page >= LightmapAtlas::maxPages) {
            ++scene.facesPastPages;
        } else if (face.page >= 0 && offset != -1 && bytes > 0) {
            face.lightRead = offset >= 0 && offset + bytes <= std::int64_t(lighting.size());
            if (face.lightRead)
                fillBlock(atlas, face, lighting.substr(std::size_t(offset), std::size_t(bytes)));
            else
                ++scene.facesWithoutLight;
        }
        const bool half = face.look == Look::Unlit;
        for (std::uint32_t i = 0; i < face.vertexCount; ++i) {
            Vertex& v = scene.vertices[face.firstVertex + i];
            if (face.lightRead) {
                // Within the block, whatever rounding did to far-out
                // coordinates: the luxels around it are other faces'.
                v.u = atlasU(atlas, face.page,
                             float(face.lightX) +
                                 std::clamp(v.u, 0.5f, float(face.lightWidth) - 0.5f));
                v.v = atlasV(atlas, face.page,
                             float(face.lightY) +
                                 std::clamp(v.v, 0.5f, float(face.lightHeight) - 0.5f));
            } else {
                v.u = half ? atlas.halfU : atlas.fullU;
                v.v = half ? atlas.halfV : atlas.fullV;
            }
        }
    }
}

void placeVertexes(const std::vector<Vec3>& offsets, Scene& scene)
{
    for (Face& face : scene.faces) {
        const Vec3 offset = face.model > 0 ? offsets[std::size_t(face.model)] : Vec3{};
        face.distance += dot(face.normal, offset);
        face.mins = {1e30f, 1e30f, 1e30f};
        face.maxs = {-1e30f, -1e30f, -1e30f};
        for (std::uint32_t i = 0; i < face.vertexCount; ++i) {
            Vec3& p = scene.vertices[face.firstVertex + i].position;
            p = p + offset;
            face.mins = {std::min(face.mins.x, p.x), std::min(face.mins.y, p.y),
                         std::min(face.mins.z, p.z)};
            face.maxs = {std::max(face.maxs.x, p.x), std::max(face.maxs.y, p.y),
                         std::max(face.maxs.z, p.z)};
        }
    }
}

void placeModelClusters(const bsp::BspLumps& l, const std::vector<Vec3>& offsets, Scene& scene)
{
    scene.modelClusters.resize(offsets.size());
    for (std::size_t m = 1; m < offsets.size(); ++m) {
        const char* model = l.at(bsp::Models, std::int64_t(m));
        const Vec3 mins{bsp::floatAt(model), bsp::floatAt(model + 4), bsp::floatAt(model + 8)};
        const Vec3 maxs{bsp::floatAt(model + 12), bsp::floatAt(model + 16),
                        bsp::floatAt(model + 20)};
        std::vector<int>& clusters = scene.modelClusters[m];
        for (const int leaf : scene.tree.leafsTouching(mins + offsets[m], maxs + offsets[m]))
            clusters.push_back(scene.tree.leafs()[std::size_t(leaf)].cluster);
        std::sort(clusters.begin(), clusters.end());
        clusters.erase(std::unique(clusters.begin(), clusters.end()), clusters.end());
    }
}

Camera cameraAt(const map::MapEntity& entity, const map::Vec3& origin)
{
    Camera camera;
    camera.position = {float(origin.x), float(origin.y), float(origin.z) + eyeHeight};
    const QStringList angles =
        entity.value(QStringLiteral("angles")).simplified().split(QLatin1Char(' '));
    if (angles.size() == 3) {
        camera.pitch = angles[0].toFloat();
        camera.yaw = angles[1].toFloat();
    } else {
        camera.yaw = entity.value(QStringLiteral("angle")).toFloat();
    }
    return turned(camera, 0, 0);
}

} // namespace

Camera startCamera(const QByteArray& entityText, const Vec3& mins, const Vec3& maxs)
{
    const std::optional<map::MapFile> entities = entitiesOf(entityText);
    for (const char* classname : {"info_player_start", "info_player_deathmatch"}) {
        for (const map::MapEntity& entity :
             entities ? entities->entities : map::MapFile().entities) {
            const std::optional<map::Vec3> origin = entity.origin();
            if (entity.classname() == QLatin1String(classname) && origin)
                return cameraAt(entity, *origin);
        }
    }
    Camera camera;
    camera.position = (mins + maxs) * 0.5f;
    return camera;
}

Scene buildScene(const char* data, std::int64_t size, const GameFiles* files)
{
    const bsp::BspInfo info = bsp::readBsp(data, size);
    const bsp::BspLumps l = bsp::lumpsOf(data, size);
    Scene scene;
    scene.format = info.format;
    scene.mins = {info.mins[0], info.mins[1], info.mins[2]};
    scene.maxs = {info.maxs[0], info.maxs[1], info.maxs[2]};
    const QByteArray text = entityText(l);
    const std::optional<map::MapFile> entities = entitiesOf(text);
    if (!entities)
        scene.problems << QStringLiteral("the entity text cannot be read: brush models are drawn "
                                         "where they were built");
    if (files)
        scene.problems << files->problems();
    scene.faces.resize(std::size_t(l.count[bsp::Faces]));
    scene.vertices.reserve(std::size_t(l.count[bsp::SurfEdges]));
    TextureTable textures(files, scene);
    LightmapPacker packer;
    for (std::int64_t f = 0; f < l.count[bsp::Faces]; ++f)
        buildFace(l, f, textures, packer, scene);
    scene.lightmaps = makeAtlas(packer.pages());
    fillLightmaps(l, scene);
    std::vector<Vec3> offsets;
    placeModels(l, entities, scene.faces, offsets);
    placeVertexes(offsets, scene);
    scene.tree = WorldTree::read(l);
    scene.pvs = PotentiallyVisible(scene.tree,
                                   Visibility::read(l.bytes(bsp::Visibility), l.count[bsp::Leafs]));
    placeModelClusters(l, offsets, scene);
    scene.start = startCamera(text, scene.mins, scene.maxs);
    return scene;
}

namespace {

// The file's bytes, mapped where the system allows, to the reader given;
// Failure names the file.
template <typename Reader> auto withFile(const QString& bspPath, Reader&& read)
{
    // A pipe would keep the view waiting at open.
    QFile file(platform::localPath(bspPath));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        throw Failure::cannotOpen(bspPath);
    try {
        const std::int64_t size = file.size();
        if (const uchar* mapped = size > 0 ? file.map(0, size) : nullptr)
            return read(reinterpret_cast<const char*>(mapped), size);
        const QByteArray bytes = file.readAll();
        return read(bytes.constData(), std::int64_t(bytes.size()));
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("%1: %2").arg(bspPath, failure.text()));
    }
}

} // namespace

Scene readScene(const QString& bspPath, const QStringList& gameFolders)
{
    const GameFiles files(gameFolders);
    return withFile(bspPath, [&files](const char* data, std::int64_t size) {
        return buildScene(data, size, &files);
    });
}

std::optional<PvsFigures> pvsFiguresOf(const QString& bspPath, QString* problem)
{
    return withFile(bspPath, [problem](const char* data, std::int64_t size) {
        bsp::readBsp(data, size);
        const bsp::BspLumps l = bsp::lumpsOf(data, size);
        const PotentiallyVisible pvs(
            WorldTree::read(l), Visibility::read(l.bytes(bsp::Visibility), l.count[bsp::Leafs]));
        if (problem)
            *problem = pvs.visibility().problem();
        return pvs.visibility().state() == Visibility::State::Present
                   ? std::optional<PvsFigures>(pvs.figures())
                   : std::nullopt;
    });
}

} // namespace scene
