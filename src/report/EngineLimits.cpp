#include "report/EngineLimits.h"

#include <cstdint>
#include <iterator>

namespace report {

namespace {

constexpr int engineCount = 4; // Engine's order: vanilla, yamagi, q2pro, rerelease
constexpr qint64 none = -1;    // no cap (the engine allocates as it needs, or none is known)

struct Cap {
    qint64 max;
    const char* error; // the engine's own words when over; null where not known
};

struct Limit {
    const char* name;
    std::int64_t (*figure)(const bsp::BspInfo&);
    Cap caps[engineCount];
};

std::int64_t lumpCount(const bsp::BspInfo& info, int lump)
{
    return info.counts[std::size_t(lump)];
}

// The figures and their caps, from ../shared/q2-facts.md's "Limits that
// bite", whose sources are: Quake-2 qcommon/cmodel.c, qcommon/qfiles.h,
// game/q_shared.h, game/g_save.c, server/sv_init.c, ref_gl/gl_rsurf.c,
// ref_soft/r_model.c; yquake2 src/common/collision.c and CHANGELOG (8.70);
// q2pro inc/shared/shared.h, src/common/bsp_template.c; the 2023 release's
// rerelease/game.h. The 2023 release's column holds only what its game
// source states (entities, models); its engine's other caps are not
// published, so they are none here ("—" in q2-facts: no cap known).
const Limit limits[] = {
    {"entities",
     [](const bsp::BspInfo& i) { return i.entities; },
     {{1024, "ED_Alloc: no free edicts"}, // game/g_save.c maxentities 1024, counting spawned ones
      {1024, "ED_Alloc: no free edicts"}, // yquake2: 1024 by default (raise to 32767, 8.70)
      {8192, nullptr},   // q2pro: 8192 with its protocol extensions (its own clients; 1024 without)
      {8192, nullptr}}}, // rerelease/game.h MAX_EDICTS 8192
    {"entstring",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Entities); },
     {{262144, "Map has too large entity lump"}, // cmodel.c MAX_MAP_ENTSTRING 0x40000
      {262144, "Map has too large entity lump"}, // yquake2 collision.c, same
      {none, nullptr},                           // q2pro: no cap
      {none, nullptr}}},                         // rerelease: not known
    {"models",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Models); },
     {{256, "*Index: overflow"}, // q_shared.h MAX_MODELS 256 config strings (sv_init.c)
      {256, "*Index: overflow"}, // yquake2: 256 (8.70: a warning, not a crash)
      {8190, nullptr},           // q2pro: 8190 with its protocol extensions (256 without)
      {8192, nullptr}}},         // rerelease/game.h MAX_MODELS 8192
    {"brushes",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Brushes); },
     {{8192, "Map has too many brushes"}, // cmodel.c MAX_MAP_BRUSHES
      {8192, "Map has too many brushes"}, // yquake2 collision.c, same
      {none, nullptr},                    // q2pro: dynamic
      {none, nullptr}}},                  // rerelease: not known
    {"brushsides",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::BrushSides); },
     {{65536, "Map has too many planes"}, // cmodel.c MAX_MAP_BRUSHSIDES (its message says planes)
      {65536, "Map has too many planes"},
      {none, nullptr},
      {none, nullptr}}},
    {"planes",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Planes); },
     {{65536, "Map has too many planes"}, // cmodel.c MAX_MAP_PLANES
      {65536, "Map has too many planes"},
      {none, nullptr},
      {none, nullptr}}},
    {"nodes",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Nodes); },
     {{65536, "Map has too many nodes"}, // cmodel.c MAX_MAP_NODES
      {65536, "Map has too many nodes"},
      {none, nullptr},
      {none, nullptr}}},
    {"leafs",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Leafs); },
     {{65536, "Map has too many leafs"}, // cmodel.c MAX_MAP_LEAFS
      {65536, "Map has too many leafs"},
      {none, nullptr},
      {none, nullptr}}},
    {"faces",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Faces); },
     {{65536, nullptr}, // qfiles.h MAX_MAP_FACES
      {65536, nullptr},
      {none, nullptr},
      {none, nullptr}}},
    {"leaffaces",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::LeafFaces); },
     {{65536, nullptr}, // qfiles.h MAX_MAP_LEAFFACES
      {65536, nullptr},
      {none, nullptr},
      {none, nullptr}}},
    {"leafbrushes",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::LeafBrushes); },
     {{65536, "Map has too many leafbrushes"}, // cmodel.c MAX_MAP_LEAFBRUSHES
      {65536, "Map has too many leafbrushes"},
      {none, nullptr},
      {none, nullptr}}},
    {"vertexes",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Vertexes); },
     {{65536, nullptr}, // qfiles.h MAX_MAP_VERTS
      {65536, nullptr},
      {none, nullptr},
      {none, nullptr}}},
    {"edges",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Edges); },
     {{128000, nullptr}, // qfiles.h MAX_MAP_EDGES
      {128000, nullptr},
      {none, nullptr},
      {none, nullptr}}},
    {"surfedges",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::SurfEdges); },
     {{256000, nullptr}, // qfiles.h MAX_MAP_SURFEDGES
      {256000, nullptr},
      {none, nullptr},
      {none, nullptr}}},
    {"texinfo",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Texinfo); },
     {{8192, "Map has too many surfaces"}, // cmodel.c MAX_MAP_TEXINFO
      {8192, "Map has too many surfaces"},
      {none, nullptr},
      {none, nullptr}}},
    {"areas",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Areas); },
     {{256, "Map has too many areas"}, // cmodel.c MAX_MAP_AREAS, area 0 included
      {256, "Map has too many areas"},
      {256, nullptr}, // q2pro: 256
      {none, nullptr}}},
    {"areaportals",
     [](const bsp::BspInfo& i) { return i.funcAreaportals; },
     {{127, nullptr}, // func_areaportal: 127, the engine checks the count against 256
      {127, nullptr},
      {none, nullptr}, // q2pro: no cap
      {none, nullptr}}},
    {"visibility",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Visibility); },
     {{1048576, "Map has too large visibility lump"}, // cmodel.c MAX_MAP_VISIBILITY 1 MiB
      {1048576, "Map has too large visibility lump"},
      {none, nullptr}, // q2pro: no cap
      {none, nullptr}}},
    // The engines take lighting of any size (2 MiB is id's compiler's cap);
    // what bites is the GL renderer's pages, the next row.
    {"lighting",
     [](const bsp::BspInfo& i) { return lumpCount(i, bsp::Lighting); },
     {{none, nullptr}, {none, nullptr}, {none, nullptr}, {none, nullptr}}},
    // ref_gl/gl_rsurf.c: pages are numbered from 1 and the upload that
    // makes the count MAX_LIGHTMAPS (128) stops the map, so 126 pages load
    // and a 127th does not (q2-facts.md says 127: the code says one fewer).
    {"lightmaps",
     [](const bsp::BspInfo& i) { return i.lightmapPages; },
     {{126, "LM_UploadBlock() - MAX_LIGHTMAPS exceeded"},
      {126, "LM_UploadBlock() - MAX_LIGHTMAPS exceeded"}, // yquake2 GL1 as vanilla
      {none, nullptr}, // q2pro: 128 pages of 256 x 256, and not fatal
      {none, nullptr}}},
    {"extent",
     [](const bsp::BspInfo& i) { return i.largestExtent; },
     {{256, "Bad surface extents"}, // ref_soft/r_model.c CalcSurfaceExtents, > 256 texels
      {256, "Bad surface extents"}, // yquake2 soft renderer, same
      {none, nullptr},              // q2pro: no software renderer
      {none, nullptr}}},
    {"bounds",
     [](const bsp::BspInfo& i) { return i.bounds; },
     {{4096, nullptr}, // network coordinates: ±4096 (q_shared.h, 13.3 fixed point)
      {4096, nullptr},
      {none, nullptr}, // q2pro: not checked
      {none, nullptr}}},
};

struct FormatSupport {
    const char* format;
    bool supported[engineCount];
};

// q2-facts.md: vanilla and Yamagi load IBSP only; Q2PRO and the 2023
// release load QBSP too (q2pro src/common/bsp_template.c).
const FormatSupport formats[] = {
    {"IBSP", {true, true, true, true}},
    {"QBSP", {false, false, true, true}},
};

std::size_t column(Engine engine)
{
    const auto index = std::size_t(engine);
    return index < engineCount ? index : 0;
}

} // namespace

LimitState limitState(qint64 count, std::optional<qint64> max)
{
    if (!max)
        return LimitState::Ok;
    if (count > *max)
        return LimitState::Over;
    // 80 %, in integers: count / max >= 4 / 5.
    if (count * 5 >= *max * 4)
        return LimitState::Near;
    return LimitState::Ok;
}

QList<LimitRow> limitRows(const bsp::BspInfo& info, Engine engine)
{
    QList<LimitRow> rows;
    for (const Limit& limit : limits) {
        const Cap& cap = limit.caps[column(engine)];
        LimitRow row;
        row.name = QLatin1String(limit.name);
        row.count = limit.figure(info);
        if (cap.max != none)
            row.max = cap.max;
        row.state = limitState(row.count, row.max);
        if (cap.error)
            row.engineError = QLatin1String(cap.error);
        rows.append(row);
    }
    return rows;
}

bool formatSupported(const QString& format, Engine engine)
{
    for (const FormatSupport& f : formats) {
        if (format == QLatin1String(f.format))
            return f.supported[column(engine)];
    }
    return false;
}

} // namespace report
