#include "scene/WorldTree.h"

#include "bsp/BspLumps.h"

namespace scene {

namespace {

Vec3 vecAt(const char* p)
{
    return {bsp::floatAt(p), bsp::floatAt(p + 4), bsp::floatAt(p + 8)};
}

Vec3 shortsAt(const char* p)
{
    return {float(bsp::int16At(p)), float(bsp::int16At(p + 2)), float(bsp::int16At(p + 4))};
}

TreeLeaf leafOf(const bsp::BspLumps& l, std::int64_t i)
{
    const char* p = l.at(bsp::Leafs, i);
    TreeLeaf leaf;
    std::int64_t first = 0, count = 0;
    if (l.qbsp) {
        leaf.cluster = bsp::int32At(p + 4);
        leaf.area = bsp::int32At(p + 8);
        leaf.mins = vecAt(p + 12);
        leaf.maxs = vecAt(p + 24);
        first = bsp::uint32At(p + 36);
        count = bsp::uint32At(p + 40);
    } else {
        leaf.cluster = bsp::int16At(p + 4);
        leaf.area = bsp::int16At(p + 6);
        leaf.mins = shortsAt(p + 8);
        leaf.maxs = shortsAt(p + 14);
        first = bsp::uint16At(p + 20);
        count = bsp::uint16At(p + 22);
    }
    // A range past the leaf faces holds what lies within them.
    first = std::min(first, l.count[bsp::LeafFaces]);
    leaf.firstFace = std::uint32_t(first);
    leaf.faceCount = std::uint32_t(std::min(count, l.count[bsp::LeafFaces] - first));
    return leaf;
}

} // namespace

WorldTree WorldTree::read(const bsp::BspLumps& l)
{
    WorldTree tree;
    for (std::int64_t i = 0; i < l.count[bsp::Nodes]; ++i) {
        const char* p = l.at(bsp::Nodes, i);
        const std::int64_t plane = bsp::int32At(p);
        TreeNode node;
        node.children = {bsp::int32At(p + 4), bsp::int32At(p + 8)};
        if (plane >= 0 && plane < l.count[bsp::Planes]) {
            const char* q = l.at(bsp::Planes, plane);
            node.normal = vecAt(q);
            node.distance = bsp::floatAt(q + 12);
        }
        tree.nodes_.push_back(node);
    }
    for (std::int64_t i = 0; i < l.count[bsp::Leafs]; ++i)
        tree.leafs_.push_back(leafOf(l, i));
    for (std::int64_t i = 0; i < l.count[bsp::LeafFaces]; ++i) {
        const std::int64_t face = l.qbsp ? std::int64_t(bsp::uint32At(l.at(bsp::LeafFaces, i)))
                                         : std::int64_t(bsp::uint16At(l.at(bsp::LeafFaces, i)));
        tree.leafFaces_.push_back(face < l.count[bsp::Faces] ? std::uint32_t(face) : noFace);
    }
    tree.faceCount_ = std::uint32_t(l.count[bsp::Faces]);
    tree.head_ = l.count[bsp::Models] > 0 ? bsp::int32At(l.at(bsp::Models, 0) + 36) : 0;
    // A tree of no nodes is one leaf, leaf 0 (-1 as a child).
    if (tree.nodes_.empty())
        tree.head_ = -1;
    return tree;
}

int WorldTree::walk(std::int32_t child, const Vec3& point, int depth) const
{
    while (child >= 0) {
        if (std::size_t(child) >= nodes_.size() || depth++ > int(nodes_.size()))
            return -1;
        const TreeNode& node = nodes_[std::size_t(child)];
        child = node.children[dot(node.normal, point) - node.distance >= 0 ? 0 : 1];
    }
    const std::int64_t leaf = -(std::int64_t(child) + 1);
    return leaf < std::int64_t(leafs_.size()) ? int(leaf) : -1;
}

int WorldTree::leafAt(const Vec3& point) const
{
    return walk(head_, point, 0);
}

void WorldTree::touching(std::int32_t child, const Vec3& mins, const Vec3& maxs, int& budget,
                         std::vector<int>& out) const
{
    while (child >= 0) {
        if (std::size_t(child) >= nodes_.size() || --budget < 0)
            return;
        const TreeNode& node = nodes_[std::size_t(child)];
        // The box's corners nearest and furthest along the plane's normal.
        const Vec3& n = node.normal;
        const Vec3 far{n.x >= 0 ? maxs.x : mins.x, n.y >= 0 ? maxs.y : mins.y,
                       n.z >= 0 ? maxs.z : mins.z};
        const Vec3 near{n.x >= 0 ? mins.x : maxs.x, n.y >= 0 ? mins.y : maxs.y,
                        n.z >= 0 ? mins.z : maxs.z};
        const bool front = dot(n, far) - node.distance >= 0;
        const bool back = dot(n, near) - node.distance < 0;
        if (front && back)
            touching(node.children[1], mins, maxs, budget, out);
        child = node.children[front ? 0 : 1];
    }
    const std::int64_t leaf = -(std::int64_t(child) + 1);
    if (leaf < std::int64_t(leafs_.size()))
        out.push_back(int(leaf));
}

std::vector<int> WorldTree::leafsTouching(const Vec3& mins, const Vec3& maxs) const
{
    std::vector<int> out;
    int budget = int(nodes_.size()) + 1;
    touching(head_, mins, maxs, budget, out);
    return out;
}

} // namespace scene
