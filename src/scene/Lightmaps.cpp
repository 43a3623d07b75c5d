#include "scene/Lightmaps.h"

#include <algorithm>
#include <cmath>

namespace scene {

std::optional<LightmapPacker::Block> LightmapPacker::place(int width, int height)
{
    auto place = page_.allocate(width, height);
    if (!place) {
        ++uploads_;
        page_.clear();
        place = page_.allocate(width, height);
        if (!place) {
            ++uploads_;
            return std::nullopt;
        }
    }
    return Block{uploads_, place->x, place->y};
}

LightmapAtlas makeAtlas(int pages)
{
    constexpr int size = LightmapAtlas::pageSize;
    LightmapAtlas atlas;
    atlas.pages = pages;
    const int tiles = std::min(pages, LightmapAtlas::maxPages) + 1;
    atlas.columns = std::max(1, int(std::ceil(std::sqrt(double(tiles)))));
    atlas.width = atlas.columns * size;
    atlas.height = (tiles + atlas.columns - 1) / atlas.columns * size;
    atlas.rgb.assign(std::size_t(atlas.width) * std::size_t(atlas.height) * 3, 0);
    // The constant tile: full light on its left half, half light on its right.
    const int constant = tiles - 1;
    const int x0 = int(atlasU(atlas, constant, 0)), y0 = int(atlasV(atlas, constant, 0));
    for (int y = y0; y < y0 + size; ++y) {
        std::uint8_t* row = atlas.rgb.data() + (std::size_t(y) * std::size_t(atlas.width) + x0) * 3;
        std::fill(row, row + size / 2 * 3, std::uint8_t(255));
        std::fill(row + size / 2 * 3, row + size * 3, std::uint8_t(128));
    }
    atlas.fullU = float(x0 + size / 4);
    atlas.halfU = float(x0 + size * 3 / 4);
    atlas.fullV = atlas.halfV = float(y0 + size / 2);
    return atlas;
}

std::int64_t blockBytes(const Face& face)
{
    const auto styles =
        std::find(face.styles.begin(), face.styles.end(), 255) - face.styles.begin();
    return std::int64_t(face.lightWidth) * face.lightHeight * 3 * styles;
}

void fillBlock(LightmapAtlas& atlas, const Face& face, std::string_view block)
{
    const std::int64_t luxels = std::int64_t(face.lightWidth) * face.lightHeight;
    const auto styles = std::int64_t(block.size()) / std::max<std::int64_t>(luxels * 3, 1);
    const int x0 = int(atlasU(atlas, face.page, float(face.lightX)));
    const int y0 = int(atlasV(atlas, face.page, float(face.lightY)));
    for (std::int64_t i = 0; i < luxels; ++i) {
        int sum[3] = {0, 0, 0};
        for (std::int64_t s = 0; s < styles; ++s) {
            for (int c = 0; c < 3; ++c)
                sum[c] += std::uint8_t(block[std::size_t((s * luxels + i) * 3 + c)]);
        }
        const int brightest = std::max({sum[0], sum[1], sum[2]});
        const int x = x0 + int(i % face.lightWidth), y = y0 + int(i / face.lightWidth);
        std::uint8_t* luxel =
            atlas.rgb.data() + (std::size_t(y) * std::size_t(atlas.width) + std::size_t(x)) * 3;
        for (int c = 0; c < 3; ++c)
            luxel[c] = std::uint8_t(brightest > 255 ? sum[c] * 255 / brightest : sum[c]);
    }
}

} // namespace scene
