#pragma once

#include "scene/Camera.h"
#include "scene/PotentiallyVisible.h"
#include "scene/Vec3.h"
#include "scene/WalTexture.h"
#include "scene/WorldTree.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// A compiled map as the view draws it: every face of the world and of each
// brush model as a polygon, its texture and its lightmap packed into pages
// as the game's GL renderer packs them. Plain data: the view uploads it.
namespace scene {

// Texinfo flags (game/q_shared.h).
enum SurfaceFlag : std::int32_t {
    SurfLight = 0x1,
    SurfSky = 0x4,
    SurfWarp = 0x8,
    SurfTrans33 = 0x10,
    SurfTrans66 = 0x20,
    SurfNodraw = 0x80,
};

// How the game's GL renderer draws a face (ref_gl/gl_rsurf.c).
enum class Look : std::uint8_t {
    Lit,    // the texture, brightened, times its lightmap
    Unlit,  // water, slime, lava and the translucent: the texture as it is
    Sky,    // flat, in the sky colour
    Hidden, // NODRAW, or no edges: not drawn
};

struct Vertex {
    Vec3 position;      // the entity's origin added
    float s = 0, t = 0; // texture position in texels
    float u = 0, v = 0; // lightmap position in the atlas, in luxels
};

struct Face {
    std::uint32_t firstVertex = 0;
    std::uint32_t vertexCount = 0;
    std::int32_t texture = -1; // into Scene::textures
    std::int32_t model = -1;   // 0 the world, n the brush model *n
    std::int32_t flags = 0;
    Look look = Look::Lit;
    std::array<std::uint8_t, 4> styles{255, 255, 255, 255};
    // Its place in the lightmap pages: none (-1) for sky, warp and
    // translucent faces, which the renderer gives none.
    std::int32_t page = -1;
    int lightX = 0, lightY = 0, lightWidth = 0, lightHeight = 0; // luxels
    bool lightRead = false; // its block came from the lighting lump
    Vec3 mins, maxs;
    // Its plane, facing the side it is seen from; the entity's origin added.
    Vec3 normal;
    float distance = 0;

    float alpha() const { return flags & SurfTrans33 ? 0.33f : flags & SurfTrans66 ? 0.66f : 1; }
};

struct Texture {
    QString name; // "e1u1/wall1_1"
    Image image;  // empty when not found or broken: the view draws the checker
    bool found = false;
};

// The 128 x 128 pages side by side in one picture, and one tile more with
// the two constant lights of faces drawn without a lightmap of their own:
// full light (the game's for a face without light data) and half light,
// which leaves the brightened texture as it is.
struct LightmapAtlas {
    static constexpr int pageSize = 128;
    // Far more than any engine loads (the original stops at 127); a file
    // that asks for more (a damaged one) keeps the view's memory bounded.
    static constexpr int maxPages = 2048;
    int pages = 0; // as the renderer packs them, the map report's count
    int columns = 0;
    int width = 0, height = 0;     // luxels
    std::vector<std::uint8_t> rgb; // width * height * 3, rows from the top
    float fullU = 0, fullV = 0, halfU = 0, halfV = 0;
};

struct Scene {
    QString format; // "IBSP", "QBSP"
    std::vector<Vertex> vertices;
    std::vector<Face> faces; // one per face of the file, in its order
    std::vector<Texture> textures;
    LightmapAtlas lightmaps;
    Camera start;    // the player's eye at info_player_start
    Vec3 mins, maxs; // the world model's bounds
    // Which leaf a point is in, and what the engine may draw from there;
    // for each brush model the clusters its bounds touch, as the server
    // finds an entity's.
    WorldTree tree;
    PotentiallyVisible pvs;
    std::vector<std::vector<int>> modelClusters;

    // What the view says of the file and the game folders.
    int facesWithoutLight = 0; // their block runs past the lighting lump
    int facesTooLarge = 0;     // larger than a lightmap page
    int facesPastPages = 0;    // on pages past the atlas' last (drawn unlit)
    int facesSharingEdges = 0; // past the surfedges' count (left out)
    int missingTextures = 0;
    int brokenTextures = 0;
    QStringList problems; // the palette, unreadable paks, the entity text
};

} // namespace scene
