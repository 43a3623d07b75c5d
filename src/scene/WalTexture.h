#pragma once

#include "scene/Palette.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

// A wall texture: the largest picture of a .wal (header: char name[32], uint
// width, height, 4 mip offsets, char animname[32], int flags, contents,
// value), in the palette's colours, and the plain checker that stands for
// one not found.
namespace scene {

struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgba; // width * height, rows from the top
    bool operator==(const Image&) const = default;
};

// None where the sizes do not fit the file.
std::optional<Image> readWal(const QByteArray& bytes, const Palette& palette);

// 64 x 64 in squares of 16 texels.
Image checker();

} // namespace scene
