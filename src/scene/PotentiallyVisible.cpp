#include "scene/PotentiallyVisible.h"

#include <algorithm>
#include <bit>

namespace scene {

namespace {

constexpr std::size_t worstShown = 10;

} // namespace

PotentiallyVisible::PotentiallyVisible(const WorldTree& tree, Visibility visibility)
    : visibility_(std::move(visibility))
{
    const int clusters = visibility_.clusters();
    clusterFaces_.resize(std::size_t(clusters));
    clusterPoints_.resize(std::size_t(clusters));
    clusterHasLeafs_.assign(std::size_t(clusters), false);
    const std::vector<std::uint32_t>& leafFaces = tree.leafFaces();
    faceCount_ = tree.faceCount();
    for (const TreeLeaf& leaf : tree.leafs()) {
        if (leaf.cluster < 0)
            continue;
        if (leaf.cluster >= clusters) {
            ++leafsPastClusters_;
            continue;
        }
        const auto c = std::size_t(leaf.cluster);
        if (!clusterHasLeafs_[c]) {
            clusterHasLeafs_[c] = true;
            clusterPoints_[c] = (leaf.mins + leaf.maxs) * 0.5f;
        }
        clusterFaces_[c].insert(clusterFaces_[c].end(), leafFaces.begin() + leaf.firstFace,
                                leafFaces.begin() + leaf.firstFace + leaf.faceCount);
    }
    for (std::vector<std::uint32_t>& faces : clusterFaces_) {
        std::sort(faces.begin(), faces.end());
        faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
        // noFace sorts last.
        while (!faces.empty() && faces.back() == WorldTree::noFace)
            faces.pop_back();
    }
}

bool PotentiallyVisible::knows(int cluster) const
{
    return visibility_.state() == Visibility::State::Present && cluster >= 0 &&
           cluster < visibility_.clusters();
}

int PotentiallyVisible::countFaces(const std::vector<std::uint8_t>& row,
                                   std::vector<std::uint32_t>& seen, std::uint32_t stamp,
                                   std::vector<std::uint32_t>* faces) const
{
    int count = 0;
    for (std::size_t byte = 0; byte < row.size(); ++byte) {
        for (unsigned bits = row[byte]; bits != 0; bits &= bits - 1) {
            const std::size_t c = byte * 8 + std::size_t(std::countr_zero(bits));
            if (c >= clusterFaces_.size())
                break;
            for (const std::uint32_t face : clusterFaces_[c]) {
                if (seen[face] == stamp)
                    continue;
                seen[face] = stamp;
                ++count;
                if (faces)
                    faces->push_back(face);
            }
        }
    }
    return count;
}

std::vector<std::uint32_t> PotentiallyVisible::facesFrom(int cluster) const
{
    std::vector<std::uint32_t> faces;
    if (!knows(cluster))
        return faces;
    std::vector<std::uint32_t> seen(faceCount_, 0);
    countFaces(visibility_.row(cluster), seen, 1, &faces);
    return faces;
}

PvsFigures PotentiallyVisible::figures() const
{
    PvsFigures figures;
    figures.clusters = visibility_.clusters();
    if (visibility_.state() != Visibility::State::Present)
        return figures;
    std::vector<std::uint32_t> seen(faceCount_, 0);
    std::vector<PvsFigures::Cluster> counted;
    double total = 0;
    for (int c = 0; c < figures.clusters; ++c) {
        if (!clusterHasLeafs_[std::size_t(c)])
            continue;
        const int faces = countFaces(visibility_.row(c), seen, std::uint32_t(c) + 1, nullptr);
        counted.push_back({c, faces, clusterPoints_[std::size_t(c)]});
        total += faces;
        figures.maxFaces = std::max(figures.maxFaces, faces);
    }
    if (!counted.empty())
        figures.meanFaces = total / double(counted.size());
    const std::size_t shown = std::min(counted.size(), worstShown);
    std::partial_sort(counted.begin(), counted.begin() + std::ptrdiff_t(shown), counted.end(),
                      [](const PvsFigures::Cluster& a, const PvsFigures::Cluster& b) {
                          return a.faces != b.faces ? a.faces > b.faces : a.cluster < b.cluster;
                      });
    figures.worst.assign(counted.begin(), counted.begin() + std::ptrdiff_t(shown));
    return figures;
}

} // namespace scene
