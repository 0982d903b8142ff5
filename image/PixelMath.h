#pragma once

#include <cstdint>

// Per-byte pixel arithmetic: each of the four bytes of a 32-bit pixel on its
// own, byte 3 included. These are the reference formulas; the row routines
// must give exactly the same bytes.
namespace zov::pixel {

inline std::uint32_t byteAt(std::uint32_t p, int k) { return (p >> (8 * k)) & 0xFFu; }

// min(255, a + b)
inline std::uint32_t saturatingAdd(std::uint32_t s, std::uint32_t d)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t sum = byteAt(s, k) + byteAt(d, k);
        out |= (sum > 255u ? 255u : sum) << (8 * k);
    }
    return out;
}

// min(255, (s * level) >> 8 + d), level in 0..255
inline std::uint32_t fade(std::uint32_t s, std::uint32_t d, std::uint32_t level)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t sum = ((byteAt(s, k) * level) >> 8) + byteAt(d, k);
        out |= (sum > 255u ? 255u : sum) << (8 * k);
    }
    return out;
}

// (a * f + b * (255 - f)) >> 8, f in 0..255; f = 255 gives 255/256 of a.
inline std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t f)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
        out |= ((byteAt(a, k) * f + byteAt(b, k) * (255u - f)) >> 8) << (8 * k);
    return out;
}

// Bytes 0..2 become 255 minus themselves; byte 3 stays.
inline std::uint32_t invert(std::uint32_t p) { return p ^ 0x00FFFFFFu; }

} // namespace zov::pixel
