#pragma once

#include <cstdint>
#include <vector>

// The leafs of the world model's tree and the cluster each belongs to: what
// the visibility lump's rows are indexed by.
namespace bsp {

struct LeafCluster {
    std::int32_t leaf = 0;
    std::int32_t cluster = -1;
    bool operator==(const LeafCluster&) const = default;
};

// Every leaf the world model's head node reaches, in the order of the
// leafs lump. Throws Failure for a broken file (as readLayout) and for a
// tree whose children lie outside their lumps or that reaches a node twice.
std::vector<LeafCluster> worldLeafClusters(const char* data, std::int64_t size);

} // namespace bsp
