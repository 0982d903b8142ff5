#include "effects/FeedbackBlur.h"

#include "image/Bitmap.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zov {

namespace {

constexpr std::uint32_t kQuarter = 0x3f3f3f3fu;
constexpr std::uint32_t kHalf = 0x7f7f7f7fu;

bool blurrable(const Bitmap& b) { return b.hasStorage() && b.width() > 0 && b.height() > 2; }

} // namespace

namespace blurref {

void threeNeighbour(std::uint32_t* pixels, int width, int height)
{
    const std::ptrdiff_t w = width;
    for (int y = 1; y < height - 1; ++y) {
        std::uint32_t* p = pixels + y * w;
        for (std::ptrdiff_t x = 0; x < w; ++x)
            p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 1) & kHalf);
        p[0] = 0;
    }
}

void fourNeighbour(std::uint32_t* pixels, int width, int height)
{
    const std::ptrdiff_t w = width;
    for (int y = 1; y < height - 1; ++y) {
        std::uint32_t* p = pixels + y * w;
        for (std::ptrdiff_t x = 0; x < w; ++x)
            p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 2) & kQuarter) +
                   ((p[x + 1] >> 2) & kQuarter);
        p[0] = 0;
    }
}

} // namespace blurref

#if defined(__SSE2__)

// Each pixel waits for the one before it: p[x] = a[x] + p[x-1] / 2^s per
// channel (s = 1 for three neighbours, 2 for four), where a[x] needs no
// earlier result. Unrolled, floor(floor(m / 2^s) / 2^s) = floor(m / 2^2s)
// gives for the k-th pixel after a known n0
//   n_k = a_k + floor((n0 + sum over j < k of a_j 2^(s j)) / 2^(s k)),
// so a block of pixels needs n0 once and one add, shift and add to pass it
// on, instead of one pixel's worth of work per pixel. Channels are widened
// to 16 bits (two pixels a register); the sums stay below 2^15: blocks of 8
// for s = 1 (a <= 126), of 4 for s = 2 (a <= 189).
namespace {

inline __m128i widen(std::uint32_t p)
{
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p)), _mm_setzero_si128());
}

// Both halves hold the high pixel of v.
inline __m128i highPixelTwice(__m128i v) { return _mm_shuffle_epi32(v, 0xEE); }

inline __m128i quarters(__m128i v)
{
    return _mm_and_si128(_mm_srli_epi32(v, 2), _mm_set1_epi32(static_cast<int>(kQuarter)));
}

inline __m128i load4(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store4(std::uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// Lanes 0-3 times lo, lanes 4-7 times hi.
inline __m128i halves(int lo, int hi)
{
    return _mm_set_epi16(static_cast<short>(hi), static_cast<short>(hi), static_cast<short>(hi), static_cast<short>(hi),
                         static_cast<short>(lo), static_cast<short>(lo), static_cast<short>(lo),
                         static_cast<short>(lo));
}

// n = a + floor((e + n0) / 2^k), k per half: (t * 2^(16 - k)) >> 16 is t >> k
// for t < 2^16.
inline __m128i settle(__m128i a, __m128i e, __m128i n0, __m128i shift)
{
    return _mm_add_epi16(a, _mm_mulhi_epu16(_mm_add_epi16(e, n0), shift));
}

void threeNeighbourRow(std::uint32_t* p, std::ptrdiff_t w)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight[4] = {halves(2, 4), halves(8, 16), halves(32, 64), halves(128, 256)};
    const __m128i shift[4] = {halves(1 << 15, 1 << 14), halves(1 << 13, 1 << 12), halves(1 << 11, 1 << 10),
                              halves(1 << 9, 1 << 8)};
    __m128i n0 = _mm_unpacklo_epi64(widen(p[-1]), widen(p[-1]));
    std::ptrdiff_t x = 0;
    for (; x + 8 <= w; x += 8) {
        const __m128i lo = _mm_add_epi8(quarters(load4(p + x - w)), quarters(load4(p + x + w)));
        const __m128i hi = _mm_add_epi8(quarters(load4(p + x + 4 - w)), quarters(load4(p + x + 4 + w)));
        const __m128i a[4] = {_mm_unpacklo_epi8(lo, zero), _mm_unpackhi_epi8(lo, zero), _mm_unpacklo_epi8(hi, zero),
                              _mm_unpackhi_epi8(hi, zero)};
        // e_k: the weighted a of the block's earlier pixels.
        __m128i e[4];
        __m128i carry = zero;
        for (int r = 0; r < 4; ++r) {
            const __m128i wa = _mm_mullo_epi16(a[r], weight[r]);
            e[r] = _mm_add_epi16(_mm_slli_si128(wa, 8), carry);
            carry = _mm_add_epi16(carry, _mm_add_epi16(wa, _mm_shuffle_epi32(wa, 0x4E)));
        }
        __m128i n[4];
        for (int r = 0; r < 4; ++r)
            n[r] = settle(a[r], e[r], n0, shift[r]);
        store4(p + x, _mm_packus_epi16(n[0], n[1]));
        store4(p + x + 4, _mm_packus_epi16(n[2], n[3]));
        n0 = highPixelTwice(n[3]);
    }
    for (; x < w; ++x)
        p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 1) & kHalf);
}

void fourNeighbourRow(std::uint32_t* p, std::ptrdiff_t w)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight[2] = {halves(4, 16), halves(64, 256)};
    const __m128i shift[2] = {halves(1 << 14, 1 << 12), halves(1 << 10, 1 << 8)};
    __m128i n0 = _mm_unpacklo_epi64(widen(p[-1]), widen(p[-1]));
    std::ptrdiff_t x = 0;
    // The "after" of the block's last pixel is the next block's first, or
    // the first of the row below: not yet blurred either way.
    for (; x + 4 <= w; x += 4) {
        const __m128i sum = _mm_add_epi8(_mm_add_epi8(quarters(load4(p + x - w)), quarters(load4(p + x + w))),
                                         quarters(load4(p + x + 1)));
        const __m128i a[2] = {_mm_unpacklo_epi8(sum, zero), _mm_unpackhi_epi8(sum, zero)};
        const __m128i wa = _mm_mullo_epi16(a[0], weight[0]);
        const __m128i e0 = _mm_slli_si128(wa, 8);
        const __m128i e1 = _mm_add_epi16(_mm_slli_si128(_mm_mullo_epi16(a[1], weight[1]), 8),
                                         _mm_add_epi16(wa, _mm_shuffle_epi32(wa, 0x4E)));
        const __m128i n1 = settle(a[0], e0, n0, shift[0]);
        const __m128i n2 = settle(a[1], e1, n0, shift[1]);
        store4(p + x, _mm_packus_epi16(n1, n2));
        n0 = highPixelTwice(n2);
    }
    for (; x < w; ++x)
        p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 2) & kQuarter) +
               ((p[x + 1] >> 2) & kQuarter);
}

template <void (*Row)(std::uint32_t*, std::ptrdiff_t)> void blurRows(Bitmap& b)
{
    const std::ptrdiff_t w = b.width();
    for (int y = 1; y < b.height() - 1; ++y) {
        std::uint32_t* p = b.row(y);
        Row(p, w);
        p[0] = 0;
    }
}

} // namespace

void feedbackBlur(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurRows<threeNeighbourRow>(bitmap);
}

void feedbackBlur4(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurRows<fourNeighbourRow>(bitmap);
}

#else

void feedbackBlur(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurref::threeNeighbour(bitmap.pixels(), bitmap.width(), bitmap.height());
}

void feedbackBlur4(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurref::fourNeighbour(bitmap.pixels(), bitmap.width(), bitmap.height());
}

#endif

} // namespace zov
