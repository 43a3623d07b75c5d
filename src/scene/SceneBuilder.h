#pragma once

#include "scene/Scene.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The scene of a compiled map, from the .bsp reader's checked lumps, the
// game's textures and its palette.
namespace scene {

class GameFiles;

// Throws Failure with the reader's message for a broken file. Without game
// files every texture is the checker and the palette grey.
Scene buildScene(const char* data, std::int64_t size, const GameFiles* files);

// Reads the file in place; textures and the palette from the game folders
// (a mod's, then baseq2). Failure names the file.
Scene readScene(const QString& bspPath, const QStringList& gameFolders);

// The player's eye at the first info_player_start, looking along its
// "angle"; else at the first info_player_deathmatch; else at the centre
// of the world's bounds. entityText is the .bsp's entity lump.
Camera startCamera(const QByteArray& entityText, const Vec3& mins, const Vec3& maxs);

// The visible sets' figures of a .bsp for the map report, without its
// textures or lightmaps; none without vis, or with a damaged visibility
// lump, which *problem then names. Failure names a file that cannot be read.
std::optional<PvsFigures> pvsFiguresOf(const QString& bspPath, QString* problem);

} // namespace scene
