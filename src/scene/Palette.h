#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The game's 256 colours, from pics/colormap.pcx: its last 769 bytes are
// 0x0C and 256 RGB triples (Quake-2 ref_gl/gl_image.c Draw_GetPalette).
namespace scene {

struct Palette {
    std::array<std::uint32_t, 256> rgba{}; // 0xAABBGGRR: R G B A in memory
    QString problem;                       // why it is grey; empty when read

    static Palette grey(const QString& problem);
};

// A file that is not an 8-bit PCX with a palette at its end gives the grey
// palette with the reason; name is the file's, for that reason.
Palette readPalette(const QByteArray& bytes, const QString& name);

} // namespace scene
