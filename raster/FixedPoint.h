#pragma once

#include <cmath>
#include <cstdint>

// The number conventions every fill shares.
//
// 16.16 fixed point: a value v is held as the integer v * 65536; the integer
// part is (f >> 16) (arithmetic shift, so it floors) and the fraction is the
// low 16 bits. Screen x, texture coordinates, colour intensities and fog
// levels are 16.16 while they are walked across a triangle; 1/z stays a float.
//
// Float to integer conversions truncate toward zero, as a C cast does. They
// go through the helpers below, which first clamp the float so that the cast
// is always defined: a vertex just in front of the eye or far to the side can
// project to any float at all. Walked quantities are held in 64 bits, so
// 16.16 values of coordinates up to 2^31 and their differences never
// overflow.
//
// Texel addressing: textures are 256 x 256 with row v at v * 256 and wrap in
// both directions by masking, so only bits 16..23 of a 16.16 coordinate pick
// the texel. Inner loops may therefore step coordinates as wrapping 32-bit
// unsigned integers and still address exactly the texel that the exact
// 64-bit value would.
namespace zov::fixed {

constexpr int kShift = 16;
constexpr std::int64_t kOne = std::int64_t{1} << kShift;

// Magnitudes at and beyond this are clamped before conversion (pixels,
// texels). Far beyond anything drawn, small enough that 16.16 values and
// their differences stay well inside 64 bits.
constexpr double kLimit = 2147483648.0; // 2^31

// trunc(v) clamped to [-2^31, 2^31]; NaN gives 0.
inline std::int64_t truncate(double v)
{
    if (!(v > -kLimit))
        return v != v ? 0 : -static_cast<std::int64_t>(kLimit);
    if (v >= kLimit)
        return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(v);
}

// trunc(v) for a value already in 16.16 units, clamped to the 16.16 range of
// truncate() (+-2^47); NaN gives 0.
inline std::int64_t truncateFixed(double v)
{
    constexpr double limit = kLimit * 65536.0;
    if (!(v > -limit))
        return v != v ? 0 : -static_cast<std::int64_t>(limit);
    if (v >= limit)
        return static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(v);
}

// trunc(v * 65536): a float taken to 16.16 (exact scaling, then truncation).
inline std::int64_t fromFloat(double v) { return truncateFixed(v * 65536.0); }

// trunc(v) clamped into [lo, hi]; NaN gives lo.
inline int truncateInto(double v, int lo, int hi)
{
    if (!(v > lo))
        return lo;
    if (v >= hi)
        return hi;
    return static_cast<int>(v);
}

// Offset of the texel at 16.16 coordinates (u, v) in a 256 x 256 texture.
inline std::uint32_t texelIndex(std::uint32_t u, std::uint32_t v)
{
    return ((v >> 8) & 0xFF00u) | ((u >> 16) & 0xFFu);
}

} // namespace zov::fixed
