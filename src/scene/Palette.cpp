#include "scene/Palette.h"

namespace scene {

namespace {

constexpr qsizetype pcxHeader = 128;
constexpr qsizetype paletteBytes = 769;

std::uint32_t packed(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return r | std::uint32_t(g) << 8 | std::uint32_t(b) << 16 | 0xff000000u;
}

} // namespace

Palette Palette::grey(const QString& problem)
{
    Palette palette;
    for (int i = 0; i < 256; ++i)
        palette.rgba[std::size_t(i)] = packed(std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    palette.problem = problem;
    return palette;
}

Palette readPalette(const QByteArray& bytes, const QString& name)
{
    // Manufacturer 10, 8 bits a pixel, one plane: the layout the game reads.
    const auto byte = [&bytes](qsizetype i) { return std::uint8_t(bytes[i]); };
    if (bytes.size() < pcxHeader + paletteBytes || byte(0) != 0x0a || byte(3) != 8 || byte(65) != 1)
        return Palette::grey(QStringLiteral("%1 is not an 8-bit PCX picture: textures are drawn "
                                            "with a grey palette")
                                 .arg(name));
    const qsizetype at = bytes.size() - paletteBytes;
    if (byte(at) != 0x0c)
        return Palette::grey(
            QStringLiteral("%1 has no palette at its end: textures are drawn with a grey palette")
                .arg(name));
    Palette palette;
    for (qsizetype i = 0; i < 256; ++i)
        palette.rgba[std::size_t(i)] =
            packed(byte(at + 1 + 3 * i), byte(at + 2 + 3 * i), byte(at + 3 + 3 * i));
    return palette;
}

} // namespace scene
