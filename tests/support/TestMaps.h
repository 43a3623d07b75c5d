#pragma once

// Maps written for tests: boxes as the editors write them, and a map past
// the original engine's model slots. Header only: the core's tests link no
// test support library.
#include <QByteArray>
#include <QString>

namespace testmaps {

inline QByteArray brush(int x0, int y0, int z0, int x1, int y1, int z1, const char* texture)
{
    // The planes in box.map's order and winding.
    const int p[6][9] = {
        {x0, y1, z1, x1, y0, z1, x0, y0, z1}, {x0, y0, z0, x1, y0, z0, x0, y1, z0},
        {x1, y0, z1, x1, y1, z0, x1, y0, z0}, {x0, y0, z0, x0, y1, z0, x0, y0, z1},
        {x0, y1, z0, x1, y1, z0, x0, y1, z1}, {x0, y0, z1, x1, y0, z0, x0, y0, z0}};
    QByteArray text = "{\n";
    for (const auto& q : p) {
        text += QStringLiteral("( %1 %2 %3 ) ( %4 %5 %6 ) ( %7 %8 %9 ) ")
                    .arg(q[0])
                    .arg(q[1])
                    .arg(q[2])
                    .arg(q[3])
                    .arg(q[4])
                    .arg(q[5])
                    .arg(q[6])
                    .arg(q[7])
                    .arg(q[8])
                    .toLatin1() +
                texture + " 0 0 0 1 1 0 0 0\n";
    }
    return text + "}\n";
}

// Two rooms with a wall between them, two doorways closed by
// func_areaportal, and 300 func_wall crates.
inline QByteArray crowdedMap()
{
    QByteArray world = "{\n\"classname\" \"worldspawn\"\n";
    world += brush(-528, -272, -16, 528, 272, 0, "e1u1/floor1_3");
    world += brush(-528, -272, 256, 528, 272, 272, "e1u1/ceil1_1");
    world += brush(-528, -272, 0, -512, 272, 256, "e1u1/wall1_1");
    world += brush(512, -272, 0, 528, 272, 256, "e1u1/wall1_1");
    world += brush(-528, -272, 0, 528, -256, 256, "e1u1/wall1_1");
    world += brush(-528, 256, 0, 528, 272, 256, "e1u1/wall1_1");
    world += brush(-8, -256, 0, 8, -240, 256, "e1u1/wall1_1");
    world += brush(-8, -176, 0, 8, -144, 256, "e1u1/wall1_1");
    world += brush(-8, -80, 0, 8, 256, 256, "e1u1/wall1_1");
    world += brush(-8, -240, 128, 8, -176, 256, "e1u1/wall1_1");
    world += brush(-8, -144, 128, 8, -80, 256, "e1u1/wall1_1");
    QByteArray text = world + "}\n";
    for (const auto& [a, b] : {std::pair{-240, -176}, std::pair{-144, -80}})
        text += "{\n\"classname\" \"func_areaportal\"\n" +
                brush(-8, a, 0, 8, b, 128, "e1u1/wall1_1") + "}\n";
    for (int i = 0; i < 300; ++i) {
        const int side = i < 150 ? -1 : 1, k = i % 150;
        const int x = side * (40 + 44 * (k % 10)), y = -240 + 32 * (k / 10);
        text += "{\n\"classname\" \"func_wall\"\n" +
                brush(x, y, 16, x + 16, y + 16, 32, "e1u1/wall1_1") + "}\n";
    }
    return text + "{\n\"classname\" \"info_player_start\"\n\"origin\" \"-256 0 32\"\n}\n"
                  "{\n\"classname\" \"light\"\n\"origin\" \"0 0 200\"\n\"light\" \"300\"\n}\n";
}

// Two rooms joined by a doorway, with a light in each: portals for vis.
// The doorway moves along its wall by doorShift.
inline QByteArray twoRoomsMap(int light, int doorShift = 0)
{
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    text += brush(-528, -272, -16, 528, 272, 0, "e1u1/floor1_3");
    text += brush(-528, -272, 256, 528, 272, 272, "e1u1/ceil1_1");
    text += brush(-528, -272, 0, -512, 272, 256, "e1u1/wall1_1");
    text += brush(512, -272, 0, 528, 272, 256, "e1u1/wall1_1");
    text += brush(-528, -272, 0, 528, -256, 256, "e1u1/wall1_1");
    text += brush(-528, 256, 0, 528, 272, 256, "e1u1/wall1_1");
    text += brush(-8, -256, 0, 8, doorShift - 32, 256, "e1u1/wall1_1");
    text += brush(-8, doorShift + 32, 0, 8, 256, 256, "e1u1/wall1_1");
    text += brush(-8, doorShift - 32, 128, 8, doorShift + 32, 256, "e1u1/wall1_1");
    text += "}\n";
    for (const char* x : {"-256", "256"})
        text += QStringLiteral("{\n\"classname\" \"light\"\n\"origin\" \"%1 0 200\"\n\"light\" "
                               "\"%2\"\n}\n")
                    .arg(QLatin1String(x))
                    .arg(light)
                    .toLatin1();
    return text + "{\n\"classname\" \"info_player_start\"\n\"origin\" \"-256 0 32\"\n}\n";
}

// Two rooms of 256 x 256 joined by a corridor that bends twice, so that
// no straight line joins them: room A (cells 0-3, 0-3, the player start),
// the corridor east from A, north, then east into room B (cells 8-11,
// 5-8). Cells of 64 units, 128 high; a light in each room.
inline const int corridorCell = 64;
inline bool corridorOpen(int x, int y)
{
    const bool roomA = x >= 0 && x <= 3 && y >= 0 && y <= 3;
    const bool roomB = x >= 8 && x <= 11 && y >= 5 && y <= 8;
    const bool corridor = (y == 1 && (x == 4 || x == 5)) || (x == 5 && y >= 1 && y <= 6) ||
                          (y == 6 && x >= 5 && x <= 7);
    return roomA || roomB || corridor;
}

inline QByteArray bentCorridorMap()
{
    const int c = corridorCell;
    QByteArray world = "{\n\"classname\" \"worldspawn\"\n";
    world += brush(-c, -c, -16, 13 * c, 10 * c, 0, "e1u1/floor1_3");
    world += brush(-c, -c, 128, 13 * c, 10 * c, 144, "e1u1/ceil1_1");
    for (int y = -1; y <= 9; ++y) {
        for (int x = -1; x <= 12; ++x) {
            if (!corridorOpen(x, y))
                world += brush(x * c, y * c, 0, (x + 1) * c, (y + 1) * c, 128, "e1u1/wall1_1");
        }
    }
    return world + "}\n"
                   "{\n\"classname\" \"info_player_start\"\n\"origin\" \"128 128 32\"\n}\n"
                   "{\n\"classname\" \"light\"\n\"origin\" \"128 128 96\"\n\"light\" \"300\"\n}\n"
                   "{\n\"classname\" \"light\"\n\"origin\" \"640 448 96\"\n\"light\" \"300\"\n}\n";
}

} // namespace testmaps
