#include "bsp/WorldLeafs.h"

#include "bsp/BspFile.h"
#include "platform/Failure.h"

#include <QtEndian>

namespace bsp {

namespace {

std::int32_t int32At(const char* p)
{
    return qFromLittleEndian<std::int32_t>(p);
}

} // namespace

std::vector<LeafCluster> worldLeafClusters(const char* data, std::int64_t size)
{
    const BspLayout layout = readLayout(data, size);
    const int nodeBytes = elementSize(Nodes, layout.qbsp);
    const int leafBytes = elementSize(Leafs, layout.qbsp);
    const std::int64_t nodes = layout.length[Nodes] / nodeBytes;
    const std::int64_t leafs = layout.length[Leafs] / leafBytes;
    if (layout.length[Models] < elementSize(Models, layout.qbsp))
        throw Failure(QStringLiteral("no world model"));

    // A model: mins, maxs and origin, then its head node.
    std::vector<std::int32_t> pending{int32At(data + layout.offset[Models] + 36)};
    std::vector<bool> nodeSeen(std::size_t(nodes), false);
    std::vector<bool> leafSeen(std::size_t(leafs), false);
    while (!pending.empty()) {
        const std::int32_t child = pending.back();
        pending.pop_back();
        if (child < 0) {
            // -(leaf + 1), as the engine reads it.
            const std::int64_t leaf = -(std::int64_t(child) + 1);
            if (leaf >= leafs)
                throw Failure(
                    QStringLiteral("the world's tree reaches leaf %1 of %2").arg(leaf).arg(leafs));
            leafSeen[std::size_t(leaf)] = true;
            continue;
        }
        if (child >= nodes || nodeSeen[std::size_t(child)])
            throw Failure(QStringLiteral("the world's tree is broken at node %1 of %2")
                              .arg(child)
                              .arg(nodes));
        nodeSeen[std::size_t(child)] = true;
        const char* node = data + layout.offset[Nodes] + std::int64_t(child) * nodeBytes;
        pending.push_back(int32At(node + 4));
        pending.push_back(int32At(node + 8));
    }

    std::vector<LeafCluster> clusters;
    for (std::int64_t leaf = 0; leaf < leafs; ++leaf) {
        if (!leafSeen[std::size_t(leaf)])
            continue;
        const char* at = data + layout.offset[Leafs] + leaf * leafBytes + 4;
        const std::int32_t cluster =
            layout.qbsp ? int32At(at) : qFromLittleEndian<std::int16_t>(at);
        clusters.push_back({std::int32_t(leaf), cluster});
    }
    return clusters;
}

} // namespace bsp
