#pragma once

#include "bsp/LightmapPage.h"
#include "scene/Scene.h"

#include <optional>
#include <string_view>

// Lightmap blocks packed into pages as the game's GL renderer packs them
// (ref_gl/gl_rsurf.c GL_CreateSurfaceLightmap), so that the page count is
// the map report's, then the pages laid side by side in one atlas.
namespace scene {

class LightmapPacker {
public:
    struct Block {
        int page = 0, x = 0, y = 0;
    };
    // None for a block larger than a page, which stops the game.
    std::optional<Block> place(int width, int height);
    // The last page is uploaded at the end, however empty.
    int pages() const { return uploads_ + 1; }

private:
    bsp::LightmapPage page_;
    int uploads_ = 0;
};

// An atlas of that many pages (at most maxPages) and the constant tile,
// all dark.
LightmapAtlas makeAtlas(int pages);

// Bytes of a face's block in the lighting lump: 3 a luxel for each style
// up to the first unused one, as R_BuildLightMap walks them.
std::int64_t blockBytes(const Face& face);

// Copies the face's block into its place, the styles added at full
// strength and scaled back into range by the brightest channel, as the
// renderer does with every style on.
void fillBlock(LightmapAtlas& atlas, const Face& face, std::string_view block);

// The atlas luxel (u, v) of a place in a page.
inline float atlasU(const LightmapAtlas& atlas, int page, float x)
{
    return float(page % atlas.columns * LightmapAtlas::pageSize) + x;
}
inline float atlasV(const LightmapAtlas& atlas, int page, float y)
{
    return float(page / atlas.columns * LightmapAtlas::pageSize) + y;
}

} // namespace scene
