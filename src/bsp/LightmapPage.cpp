#include "bsp/LightmapPage.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace bsp {

std::optional<LightmapPage::Place> LightmapPage::allocate(int w, int h)
{
    const int places = pageSize - w;
    if (places <= 0 || h > pageSize)
        return std::nullopt;
    int best = pageSize, bestX = -1;
    for (int word = 0; word < 2; ++word) {
        for (std::uint64_t bits = steps_[word]; bits != 0; bits &= bits - 1) {
            const int x = 64 * word + std::countr_zero(bits);
            if (x >= places)
                break;
            int highest = 0, j = 0;
            for (; j < w; ++j) {
                const int a = allocated_[x + j];
                if (a >= best)
                    break;
                highest = std::max(highest, a);
            }
            if (j == w) {
                best = highest;
                bestX = x;
            }
        }
    }
    if (bestX < 0 || best + h > pageSize)
        return std::nullopt;
    std::fill(allocated_ + bestX, allocated_ + bestX + w, best + h);
    for (int i = bestX + 1; i < bestX + w; ++i)
        steps_[i / 64] &= ~(std::uint64_t(1) << (i % 64));
    mark(bestX);
    if (bestX + w < pageSize)
        mark(bestX + w);
    return Place{bestX, best};
}

void LightmapPage::clear()
{
    std::fill(std::begin(allocated_), std::end(allocated_), 0);
    steps_[0] = 1;
    steps_[1] = 0;
}

void LightmapPage::mark(int i)
{
    const std::uint64_t bit = std::uint64_t(1) << (i % 64);
    if (i == 0 || allocated_[i] < allocated_[i - 1])
        steps_[i / 64] |= bit;
    else
        steps_[i / 64] &= ~bit;
}

} // namespace bsp
