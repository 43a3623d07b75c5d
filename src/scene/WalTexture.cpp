#include "scene/WalTexture.h"

#include "bsp/BspLumps.h"

namespace scene {

namespace {

constexpr qsizetype walHeader = 100;
// The game's own textures are at most 512 wide; 4096 leaves room for any.
constexpr std::int64_t largestSide = 4096;

} // namespace

std::optional<Image> readWal(const QByteArray& bytes, const Palette& palette)
{
    if (bytes.size() < walHeader)
        return std::nullopt;
    const char* p = bytes.constData();
    const std::int64_t width = bsp::uint32At(p + 32), height = bsp::uint32At(p + 36);
    const std::int64_t offset = bsp::uint32At(p + 40);
    if (width < 1 || height < 1 || width > largestSide || height > largestSide ||
        offset + width * height > bytes.size())
        return std::nullopt;
    Image image;
    image.width = int(width);
    image.height = int(height);
    image.rgba.resize(std::size_t(width * height));
    for (std::size_t i = 0; i < image.rgba.size(); ++i)
        image.rgba[i] = palette.rgba[std::uint8_t(p[offset + qsizetype(i)])];
    return image;
}

Image checker()
{
    constexpr int side = 64, square = 16;
    Image image;
    image.width = image.height = side;
    image.rgba.resize(side * side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            image.rgba[std::size_t(y * side + x)] =
                (x / square + y / square) % 2 ? 0xff404040u : 0xffa0a0a0u;
    }
    return image;
}

} // namespace scene
