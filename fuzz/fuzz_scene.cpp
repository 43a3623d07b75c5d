// The scene builder on any bytes: a broken file is the reader's Failure,
// never a crash; every face's polygon lies in the vertex list, its
// lightmap block in its page and its luxel positions in its block, and
// the pages are the map report's. The visibility rows, decoded whole when
// the lump is read, are each a row long, and a visible set holds faces of
// the file only.
#include "FuzzSupport.h"
#include "bsp/BspFile.h"
#include "platform/Failure.h"
#include "scene/Lightmaps.h"
#include "scene/SceneBuilder.h"

namespace {

void checkFace(const scene::Scene& s, const scene::Face& face)
{
    const scene::LightmapAtlas& atlas = s.lightmaps;
    fuzz::check(std::size_t(face.firstVertex) + face.vertexCount <= s.vertices.size(),
                "a face's polygon lies in the vertex list");
    fuzz::check(face.vertexCount == 0 ||
                    (face.texture >= 0 && std::size_t(face.texture) < s.textures.size()),
                "a drawn face has a texture");
    if (face.page < 0 || face.page >= scene::LightmapAtlas::maxPages) {
        fuzz::check(!face.lightRead, "a face without a place in the atlas has no block");
        return;
    }
    constexpr int size = scene::LightmapAtlas::pageSize;
    fuzz::check(face.page < atlas.pages && face.lightWidth >= 1 && face.lightHeight >= 1 &&
                    face.lightX >= 0 && face.lightY >= 0 && face.lightX + face.lightWidth <= size &&
                    face.lightY + face.lightHeight <= size,
                "a block lies in its page");
    if (!face.lightRead)
        return;
    const float x0 = scene::atlasU(atlas, face.page, float(face.lightX));
    const float y0 = scene::atlasV(atlas, face.page, float(face.lightY));
    for (std::uint32_t i = 0; i < face.vertexCount; ++i) {
        const scene::Vertex& v = s.vertices[face.firstVertex + i];
        fuzz::check(v.u >= x0 && v.u <= x0 + float(face.lightWidth) && v.v >= y0 &&
                        v.v <= y0 + float(face.lightHeight),
                    "a luxel position lies in its face's block");
    }
}

void checkVisibility(const scene::Scene& s)
{
    const scene::Visibility& vis = s.pvs.visibility();
    fuzz::check((vis.state() == scene::Visibility::State::Damaged) == !vis.problem().isEmpty(),
                "damaged visibility says why");
    if (vis.state() != scene::Visibility::State::Present)
        return;
    for (int c = 0; c < std::min(vis.clusters(), 32); ++c) {
        fuzz::check(vis.row(c).size() == (std::size_t(vis.clusters()) + 7) / 8,
                    "a row is as long as the clusters need");
        for (const std::uint32_t face : s.pvs.facesFrom(c))
            fuzz::check(face < s.faces.size(), "a visible set holds the file's faces");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    try {
        const scene::Scene s = scene::buildScene(bytes, std::int64_t(size), nullptr);
        const bsp::BspInfo info = bsp::readBsp(bytes, std::int64_t(size));
        fuzz::check(std::int64_t(s.faces.size()) == info.counts[bsp::Faces],
                    "one face for each of the file's");
        fuzz::check(std::int64_t(s.vertices.size()) <= info.counts[bsp::SurfEdges],
                    "a vertex for each surfedge at most");
        fuzz::check(s.lightmaps.pages == info.lightmapPages, "the report's page count");
        fuzz::check(s.lightmaps.rgb.size() ==
                            std::size_t(s.lightmaps.width) * std::size_t(s.lightmaps.height) * 3 &&
                        s.lightmaps.width * (s.lightmaps.height / scene::LightmapAtlas::pageSize) >=
                            (std::min(s.lightmaps.pages, scene::LightmapAtlas::maxPages) + 1) *
                                scene::LightmapAtlas::pageSize,
                    "the atlas holds every page and the constant tile");
        for (const scene::Face& face : s.faces)
            checkFace(s, face);
        checkVisibility(s);
    } catch (const Failure& failure) {
        fuzz::check(!failure.text().isEmpty(), "a broken file says what is wrong");
    }
    return 0;
}
