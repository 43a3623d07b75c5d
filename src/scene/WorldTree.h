#pragma once

#include "scene/Vec3.h"

#include <array>
#include <cstdint>
#include <vector>

namespace bsp {
struct BspLumps;
}

// The world model's BSP tree as the engine walks it (Quake-2
// qcommon/cmodel.c): nodes split by planes down to leafs, each leaf in a
// cluster (-1: none, outside the map or solid) and an area, with the faces
// it holds. Every index is checked: a child, plane or face out of range is
// passed over, and a walk never goes deeper than the tree has nodes.
namespace scene {

struct TreeNode {
    Vec3 normal;
    float distance = 0;
    std::array<std::int32_t, 2> children{}; // negative: leaf -(child + 1)
};

struct TreeLeaf {
    std::int32_t cluster = -1;
    std::int32_t area = 0;
    Vec3 mins, maxs;
    std::uint32_t firstFace = 0, faceCount = 0; // into WorldTree::leafFaces
};

class WorldTree {
public:
    // Faces are the file's face count, for checking leaf face indices.
    static WorldTree read(const bsp::BspLumps& lumps);

    // The leaf the point is in: from model 0's head node, to children[0]
    // where normal . p - distance >= 0; -1 where the tree has no leaf there.
    int leafAt(const Vec3& point) const;
    // The leafs a box touches, as CM_BoxLeafnums finds an entity's.
    std::vector<int> leafsTouching(const Vec3& mins, const Vec3& maxs) const;

    const std::vector<TreeLeaf>& leafs() const { return leafs_; }
    // Face indices of the leafs; an index past the file's faces is noFace.
    const std::vector<std::uint32_t>& leafFaces() const { return leafFaces_; }
    static constexpr std::uint32_t noFace = 0xffffffff;
    std::uint32_t faceCount() const { return faceCount_; }

private:
    int walk(std::int32_t child, const Vec3& point, int depth) const;
    // budget: nodes still to visit, so that a damaged tree's loops end.
    void touching(std::int32_t child, const Vec3& mins, const Vec3& maxs, int& budget,
                  std::vector<int>& out) const;

    std::vector<TreeNode> nodes_;
    std::vector<TreeLeaf> leafs_;
    std::vector<std::uint32_t> leafFaces_;
    std::int32_t head_ = 0;
    std::uint32_t faceCount_ = 0;
};

} // namespace scene
