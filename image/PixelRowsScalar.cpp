#include "image/PixelMath.h"
#include "image/PixelRows.h"

namespace zov::rows::scalar {

void add(std::uint32_t* dst, const std::uint32_t* src, int n)
{
    for (int i = 0; i < n; ++i)
        dst[i] = pixel::saturatingAdd(src[i], dst[i]);
}

void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    for (int i = 0; i < n; ++i)
        dst[i] = pixel::fade(src[i], dst[i], level);
}

void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    for (int i = 0; i < n; ++i)
        dst[i] = pixel::mix(src[i], dst[i], alpha[i] & 0xFFu);
}

void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    for (int i = 0; i < n; ++i)
        dst[i] = pixel::mix(a[i], b[i], f);
}

void invert(std::uint32_t* p, int n)
{
    for (int i = 0; i < n; ++i)
        p[i] = pixel::invert(p[i]);
}

} // namespace zov::rows::scalar
