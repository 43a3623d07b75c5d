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

// A grid of rooms joined by doorways, each with a light: portals between
// the rooms, so that vis has work; pillars give it more.
struct Rooms {
    int columns = 2, rows = 1;
    int light = 300;          // each room's light value
    int doorShift = 0;        // moves the first doorway along its wall
    bool startInVoid = false; // the player start outside the walls: a leak
    int pillars = 0;          // per room, in a row across it
};

inline QByteArray roomsMap(const Rooms& r)
{
    constexpr int pitch = 272, wall = 16, height = 192, door = 32;
    const int width = r.columns * pitch + wall, depth = r.rows * pitch + wall;
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    text += brush(0, 0, -16, width, depth, 0, "e1u1/floor1_3");
    text += brush(0, 0, height, width, depth, height + 16, "e1u1/ceil1_1");
    // A wall along y at x (across: along x at y) from a to b, with a
    // doorway in its middle unless it is an outer one.
    const auto segment = [&](bool alongY, int at, int a, int b, bool doorway, int shift) {
        const auto piece = [&](int from, int to, int z0, int z1) {
            text += alongY ? brush(at, from, z0, at + wall, to, z1, "e1u1/wall1_1")
                           : brush(from, at, z0, to, at + wall, z1, "e1u1/wall1_1");
        };
        if (!doorway) {
            piece(a, b, 0, height);
            return;
        }
        const int middle = (a + b) / 2 + shift;
        piece(a, middle - door, 0, height);
        piece(middle + door, b, 0, height);
        piece(middle - door, middle + door, 128, height);
    };
    for (int c = 0; c <= r.columns; ++c) {
        for (int row = 0; row < r.rows; ++row) {
            const bool inner = c > 0 && c < r.columns;
            const int shift = c == 1 && row == 0 ? r.doorShift : 0;
            segment(true, c * pitch, row * pitch, (row + 1) * pitch + wall, inner, shift);
        }
    }
    for (int row = 0; row <= r.rows; ++row) {
        for (int c = 0; c < r.columns; ++c)
            segment(false, row * pitch, c * pitch, (c + 1) * pitch + wall, row > 0 && row < r.rows,
                    0);
    }
    for (int c = 0; c < r.columns; ++c) {
        for (int row = 0; row < r.rows; ++row) {
            for (int p = 0; p < r.pillars; ++p) {
                const int x = c * pitch + 48 + p * (176 / r.pillars);
                const int y = row * pitch + 120 + (p % 2) * 32;
                text += brush(x, y, 0, x + 16, y + 16, height, "e1u1/wall1_1");
            }
        }
    }
    text += "}\n";
    for (int c = 0; c < r.columns; ++c) {
        for (int row = 0; row < r.rows; ++row)
            text += QStringLiteral("{\n\"classname\" \"light\"\n\"origin\" \"%1 %2 160\"\n"
                                   "\"light\" \"%3\"\n}\n")
                        .arg(c * pitch + 136)
                        .arg(row * pitch + 72)
                        .arg(r.light)
                        .toLatin1();
    }
    return text + (r.startInVoid ? "{\n\"classname\" \"info_player_start\"\n\"origin\" "
                                   "\"-512 -512 32\"\n}\n"
                                 : "{\n\"classname\" \"info_player_start\"\n\"origin\" "
                                   "\"72 200 32\"\n}\n");
}

} // namespace testmaps
