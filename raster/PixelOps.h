#pragma once

#include "image/PixelMath.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Byte-wise pixel arithmetic of the fills: each of the four bytes of a 32-bit
// pixel on its own, byte 3 included. The *Reference functions are the plain
// formulas; the others are the ones the fills use (SSE2 where available) and
// must give exactly the same bytes.
namespace zov::pixelops {

// The per-byte formulas shared with the bitmap operations.
inline std::uint32_t addSaturateReference(std::uint32_t a, std::uint32_t b) { return pixel::saturatingAdd(a, b); }
// (d * t + s * (255 - t)) >> 8, t in 0..255.
inline std::uint32_t blendReference(std::uint32_t d, std::uint32_t s, std::uint32_t t) { return pixel::mix(d, s, t); }

// max(0, a - b)
inline std::uint32_t subSaturateReference(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t x = pixel::byteAt(a, k), y = pixel::byteAt(b, k);
        out |= (x > y ? x - y : 0u) << (8 * k);
    }
    return out;
}

// Halves of both, each byte's low bit dropped first: never carries.
inline std::uint32_t average(std::uint32_t d, std::uint32_t s)
{
    return ((d >> 1) & 0x7F7F7F7Fu) + ((s >> 1) & 0x7F7F7F7Fu);
}

#if defined(__SSE2__)

inline std::uint32_t addSaturate(std::uint32_t a, std::uint32_t b)
{
    const __m128i r = _mm_adds_epu8(_mm_cvtsi32_si128(static_cast<int>(a)), _mm_cvtsi32_si128(static_cast<int>(b)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(r));
}

inline std::uint32_t subSaturate(std::uint32_t a, std::uint32_t b)
{
    const __m128i r = _mm_subs_epu8(_mm_cvtsi32_si128(static_cast<int>(a)), _mm_cvtsi32_si128(static_cast<int>(b)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(r));
}

// Unpacked to 16-bit lanes: d * t + s * (255 - t) <= 65025 cannot wrap.
inline std::uint32_t blend(std::uint32_t d, std::uint32_t s, std::uint32_t t)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i d16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(d)), zero);
    const __m128i s16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(s)), zero);
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(d16, _mm_set1_epi16(static_cast<short>(t))),
                                      _mm_mullo_epi16(s16, _mm_set1_epi16(static_cast<short>(255u - t))));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_srli_epi16(sum, 8), zero)));
}

#else

inline std::uint32_t addSaturate(std::uint32_t a, std::uint32_t b) { return addSaturateReference(a, b); }
inline std::uint32_t subSaturate(std::uint32_t a, std::uint32_t b) { return subSaturateReference(a, b); }
inline std::uint32_t blend(std::uint32_t d, std::uint32_t s, std::uint32_t t) { return blendReference(d, s, t); }

#endif

} // namespace zov::pixelops
