#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The visibility lump: int numclusters, then for each cluster {int pvs, int
// phs} offsets from the lump's start, and rows of (numclusters + 7) / 8
// bytes, run-length coded: a non-zero byte is itself, a zero byte is
// followed by a count of zero bytes (Quake-2 qcommon/cmodel.c
// CM_DecompressVis). Bit c of cluster a's row: c may be seen from a.
namespace scene {

// The row at offset; none where the offset or the row runs past the lump's
// end. A run of zeros longer than the row is cut at its end, as the engine
// cuts it.
std::optional<std::vector<std::uint8_t>> decodeRow(std::string_view lump, std::int64_t offset,
                                                   int clusters);

inline bool rowHas(const std::vector<std::uint8_t>& row, int cluster)
{
    return row[std::size_t(cluster) >> 3] & (1u << (cluster & 7));
}

class Visibility {
public:
    enum class State {
        None,    // an empty lump: every cluster sees every other
        Present, // every row decodes
        Damaged, // the header, an offset or a row runs past the lump's end
    };

    // Decodes every row once, to know the lump whole before it is trusted.
    // Each cluster is a leaf or more: a lump of more clusters than the
    // tree's leafs is damaged (and would cost that many rows' decoding).
    static Visibility read(std::string_view lump, std::int64_t leafs);

    State state() const { return state_; }
    int clusters() const { return clusters_; }
    // What is damaged, for a state of Damaged.
    const QString& problem() const { return problem_; }
    // A cluster's row (state Present and 0 <= cluster < clusters()).
    std::vector<std::uint8_t> row(int cluster) const;

private:
    State state_ = State::None;
    int clusters_ = 0;
    QString problem_;
    std::string lump_;
    std::vector<std::int64_t> offsets_;
};

} // namespace scene
