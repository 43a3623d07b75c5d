#pragma once

#include "scene/Vec3.h"
#include "scene/Visibility.h"
#include "scene/WorldTree.h"

#include <cstdint>
#include <vector>

// What the engine may have to draw from each cluster: the world faces of
// the leafs in the clusters its visibility row marks, each face once, as
// the engine draws it once.
namespace scene {

struct PvsFigures {
    struct Cluster {
        int cluster = 0;
        int faces = 0;
        Vec3 point; // the centre of its first leaf's bounds
        bool operator==(const Cluster&) const = default;
    };
    int clusters = 0; // the visibility lump's count
    int maxFaces = 0;
    double meanFaces = 0;       // over the clusters that have leafs
    std::vector<Cluster> worst; // up to ten, most faces first
    bool operator==(const PvsFigures&) const = default;
};

class PotentiallyVisible {
public:
    PotentiallyVisible() = default;
    // The tree's leafs sorted by cluster; a leaf whose cluster is beyond
    // the lump's count is counted and passed over.
    PotentiallyVisible(const WorldTree& tree, Visibility visibility);

    const Visibility& visibility() const { return visibility_; }
    int leafsPastClusters() const { return leafsPastClusters_; }
    // Whether the set of a cluster can be told: rows to read, the cluster
    // one of theirs.
    bool knows(int cluster) const;
    // The world faces visible from the cluster, each once, in no order.
    std::vector<std::uint32_t> facesFrom(int cluster) const;
    // Every cluster's count, and the ten with the most.
    PvsFigures figures() const;

private:
    // Faces visible from the row, marked in seen with the stamp.
    int countFaces(const std::vector<std::uint8_t>& row, std::vector<std::uint32_t>& seen,
                   std::uint32_t stamp, std::vector<std::uint32_t>* faces) const;

    Visibility visibility_;
    std::vector<std::vector<std::uint32_t>> clusterFaces_; // of each cluster's own leafs
    std::vector<Vec3> clusterPoints_;
    std::vector<bool> clusterHasLeafs_;
    std::uint32_t faceCount_ = 0;
    int leafsPastClusters_ = 0;
};

} // namespace scene
