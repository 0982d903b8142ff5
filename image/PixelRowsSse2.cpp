#include "image/PixelRows.h"

#if ZOV_HAVE_SSE2_ROWS

#include <emmintrin.h>

// Four pixels (16 bytes) per step, the same bytes as the scalar reference;
// the last n % 4 pixels go through the reference itself. Bytes are widened
// to 16-bit lanes where they are multiplied.
namespace zov::rows::sse2 {

namespace {

inline __m128i load(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store(std::uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// (s * k) >> 8 per byte, k a 16-bit lane value 0..255: with s in the high
// byte of a lane, the high half of the product is exactly that.
inline __m128i scaleBytes(__m128i s, __m128i k)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, s), k);
    const __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, s), k);
    return _mm_packus_epi16(lo, hi);
}

// (a * f + b * g) >> 8 for widened lanes; f + g = 255 keeps the sum within
// 16 bits.
inline __m128i mixLanes(__m128i a, __m128i b, __m128i f, __m128i g)
{
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, f), _mm_mullo_epi16(b, g)), 8);
}

} // namespace

void add(std::uint32_t* dst, const std::uint32_t* src, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        store(dst + i, _mm_adds_epu8(load(dst + i), load(src + i)));
        store(dst + i + 4, _mm_adds_epu8(load(dst + i + 4), load(src + i + 4)));
    }
    for (; i + 4 <= n; i += 4)
        store(dst + i, _mm_adds_epu8(load(dst + i), load(src + i)));
    scalar::add(dst + i, src + i, n - i);
}

void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    const __m128i k = _mm_set1_epi16(static_cast<short>(level));
    int i = 0;
    for (; i + 4 <= n; i += 4)
        store(dst + i, _mm_adds_epu8(load(dst + i), scaleBytes(load(src + i), k)));
    scalar::fade(dst + i, src + i, n - i, level);
}

// Without widening: bytes 0 and 2 of each pixel are handled in the low
// halves of its two 16-bit lanes, bytes 1 and 3 in the high halves. This
// needs no shuffles, which are the scarce unit here.
void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i byte0 = _mm_set1_epi32(0xFF);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i s = load(src + i);
        const __m128i d = load(dst + i);
        __m128i a = _mm_and_si128(load(alpha + i), byte0);
        a = _mm_or_si128(a, _mm_slli_epi32(a, 16)); // a in both lanes of its pixel
        const __m128i inv = _mm_xor_si128(a, lowBytes); // 255 - a
        const __m128i even = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(s, lowBytes), a),
                                                          _mm_mullo_epi16(_mm_and_si128(d, lowBytes), inv)),
                                            8);
        const __m128i odd = _mm_and_si128(_mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(s, 8), a),
                                                        _mm_mullo_epi16(_mm_srli_epi16(d, 8), inv)),
                                          highBytes);
        store(dst + i, _mm_or_si128(even, odd));
    }
    scalar::mask(dst + i, src + i, alpha + i, n - i);
}

void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i fa = _mm_set1_epi16(static_cast<short>(f));
    const __m128i gb = _mm_set1_epi16(static_cast<short>(255 - f));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i va = load(a + i);
        const __m128i vb = load(b + i);
        const __m128i lo = mixLanes(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero), fa, gb);
        const __m128i hi = mixLanes(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero), fa, gb);
        store(dst + i, _mm_packus_epi16(lo, hi));
    }
    scalar::blend(dst + i, a + i, b + i, n - i, f);
}

void invert(std::uint32_t* p, int n)
{
    const __m128i flip = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 4 <= n; i += 4)
        store(p + i, _mm_xor_si128(load(p + i), flip));
    scalar::invert(p + i, n - i);
}

} // namespace zov::rows::sse2

#endif
