#pragma once

#include <cstdint>
#include <optional>

namespace bsp {

// One lightmap page of the game's GL renderer (ref_gl/gl_rsurf.c
// BLOCK_WIDTH/HEIGHT) and its allocator, LM_AllocBlock: the first place
// whose highest column is lowest among places 0 .. pageSize - w - 1 (the
// original's loop bound). That first lowest place is place 0 or one where
// the skyline steps down (column x lower than column x - 1), so only those
// are tried: a set of bits kept as columns are raised, instead of the
// original's every place.
class LightmapPage {
public:
    static constexpr int pageSize = 128;

    struct Place {
        int x = 0, y = 0;
    };

    // Where a block of w x h luxels goes; none when it does not fit.
    std::optional<Place> allocate(int w, int h);
    void clear();

private:
    void mark(int i);

    int allocated_[pageSize] = {};
    std::uint64_t steps_[2] = {1, 0}; // bit x: place x steps down
};

} // namespace bsp
