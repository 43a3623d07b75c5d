#pragma once

#include "bsp/BspFile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

// Where each lump of a .bsp lies, for code that reads the elements
// themselves (the scene). Little-endian readers of one element's fields.
namespace bsp {

struct BspLumps {
    const char* data = nullptr;
    std::int64_t size = 0;
    bool qbsp = false;
    std::array<std::int64_t, LumpCount> offset{}, length{}, count{};

    // Element index of the lump: index < count[lump], which the caller checks.
    const char* at(int lump, std::int64_t index) const
    {
        return data + offset[lump] + index * elementSize(lump, qbsp);
    }
    std::string_view bytes(int lump) const
    {
        return {data + offset[lump], std::size_t(length[lump])};
    }
};

// The lump table of bytes that readBsp accepted; throws Failure where a lump
// lies outside them all the same.
BspLumps lumpsOf(const char* data, std::int64_t size);

template <typename T> T valueAt(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline std::int32_t int32At(const char* p)
{
    return valueAt<std::int32_t>(p);
}
inline std::uint32_t uint32At(const char* p)
{
    return valueAt<std::uint32_t>(p);
}
inline std::int16_t int16At(const char* p)
{
    return valueAt<std::int16_t>(p);
}
inline std::uint16_t uint16At(const char* p)
{
    return valueAt<std::uint16_t>(p);
}
inline float floatAt(const char* p)
{
    return valueAt<float>(p);
}

} // namespace bsp
