#include "scene/Visibility.h"

#include "bsp/BspLumps.h"

namespace scene {

std::optional<std::vector<std::uint8_t>> decodeRow(std::string_view lump, std::int64_t offset,
                                                   int clusters)
{
    const std::size_t rowBytes = (std::size_t(clusters) + 7) / 8;
    if (offset < 0 || offset > std::int64_t(lump.size()))
        return std::nullopt;
    std::vector<std::uint8_t> row;
    row.reserve(rowBytes);
    std::size_t in = std::size_t(offset);
    while (row.size() < rowBytes) {
        if (in >= lump.size())
            return std::nullopt;
        const auto byte = std::uint8_t(lump[in]);
        if (byte != 0) {
            row.push_back(byte);
            ++in;
            continue;
        }
        if (in + 1 >= lump.size())
            return std::nullopt;
        const std::size_t zeros = std::uint8_t(lump[in + 1]);
        row.insert(row.end(), std::min(zeros, rowBytes - row.size()), 0);
        in += 2;
    }
    return row;
}

Visibility Visibility::read(std::string_view lump, std::int64_t leafs)
{
    Visibility vis;
    if (lump.empty())
        return vis;
    const auto damaged = [&vis](const QString& what) {
        vis.state_ = State::Damaged;
        vis.problem_ = what;
        vis.offsets_.clear();
        return vis;
    };
    if (lump.size() < 4)
        return damaged(QStringLiteral("the visibility lump is shorter than its cluster count"));
    const std::int64_t clusters = bsp::int32At(lump.data());
    if (clusters < 0 || 4 + 8 * clusters > std::int64_t(lump.size()))
        return damaged(QStringLiteral("the visibility lump's %1 clusters' offsets run past its end")
                           .arg(clusters));
    if (clusters > leafs)
        return damaged(QStringLiteral("the visibility lump counts %1 clusters, more than the %2 "
                                      "leafs")
                           .arg(clusters)
                           .arg(leafs));
    vis.clusters_ = int(clusters);
    for (int c = 0; c < vis.clusters_; ++c) {
        const std::int64_t offset = bsp::int32At(lump.data() + 4 + 8 * c);
        if (!decodeRow(lump, offset, vis.clusters_))
            return damaged(
                QStringLiteral("cluster %1's row in the visibility lump runs past its end").arg(c));
        vis.offsets_.push_back(offset);
    }
    vis.lump_ = std::string(lump);
    vis.state_ = State::Present;
    return vis;
}

std::vector<std::uint8_t> Visibility::row(int cluster) const
{
    return decodeRow(lump_, offsets_[std::size_t(cluster)], clusters_)
        .value_or(std::vector<std::uint8_t>((std::size_t(clusters_) + 7) / 8, 0xff));
}

} // namespace scene
