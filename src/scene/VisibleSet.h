#pragma once

#include "scene/Camera.h"
#include "scene/Scene.h"

#include <QString>
#include <cstdint>
#include <vector>

// What the engine draws from a point: the camera's leaf (from model 0's
// head node), its cluster and that cluster's row of the visibility lump;
// then the world faces of the leafs in the clusters the row marks, and the
// brush models whose clusters it marks. Outside the map, without vis or
// with damaged vis, everything.
namespace scene {

struct VisibleSet {
    enum class Reach {
        Clusters,   // the row's clusters
        OutsideMap, // no leaf or no cluster there: everything
        NoVis,      // no visibility lump: everything
        VisDamaged, // a damaged one: everything
    };
    Reach reach = Reach::OutsideMap;
    int cluster = -1;
    int area = -1;
    // The world faces in the set, each once; for everything, every world face.
    std::vector<std::uint32_t> worldFaces;
    // For each face of the scene whether it may be drawn; empty: all may.
    std::vector<std::uint8_t> drawable;
};

VisibleSet visibleFrom(const Scene& scene, const Vec3& point);

// Of the set's world faces, those the frustum does not exclude.
int facesInView(const Scene& scene, const VisibleSet& set, const Frustum& frustum);

// "1,234 faces in the visible set · 456 in the view · cluster 17 · area 1",
// or what everything is drawn for; as r_speeds tells it in the game.
QString visibleSetText(const VisibleSet& set, int inView);

} // namespace scene
