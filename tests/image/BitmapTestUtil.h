#pragma once

#include "image/Bitmap.h"

#include <cstdint>
#include <memory>
#include <random>

namespace zov::test {

// A bitmap of w x h pixels of random bytes, all four of them.
inline std::unique_ptr<Bitmap> randomBitmap(int w, int h, std::mt19937& rng)
{
    auto b = std::make_unique<Bitmap>(w, h);
    for (std::size_t i = 0; i < b->pixelCount(); ++i)
        b->pixels()[i] = static_cast<std::uint32_t>(rng());
    return b;
}

inline std::unique_ptr<Bitmap> cloneOf(const Bitmap& b)
{
    auto c = std::make_unique<Bitmap>(b.width(), b.height());
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        c->pixels()[i] = b.pixels()[i];
    return c;
}

inline bool samePixels(const Bitmap& a, const Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (std::size_t i = 0; i < a.pixelCount(); ++i)
        if (a.pixels()[i] != b.pixels()[i])
            return false;
    return true;
}

// Per-byte formulas written out independently of the library's helpers.
inline std::uint32_t byteOf(std::uint32_t p, int k) { return (p >> (8 * k)) & 0xFF; }

template <typename F>
std::uint32_t perByte(std::uint32_t a, std::uint32_t b, F f)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
        out |= (f(byteOf(a, k), byteOf(b, k)) & 0xFFu) << (8 * k);
    return out;
}

} // namespace zov::test
