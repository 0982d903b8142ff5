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

// v times 2^lo in lanes 0-3 and 2^hi in lanes 4-7, and t divided by them
// (rounded down; (t * 2^(16 - k)) >> 16 is t >> k for t < 2^16). As
// multiplies on x86; WebAssembly shifts all lanes by one amount, and a
// multiply by powers of two is what compilers turn into a shift by a
// different amount in each half, done there lane by lane: two uniform shifts
// joined by halves instead, nearly four times faster.
#if defined(__wasm_simd128__)
inline __m128i joinHalves(__m128i low, __m128i high)
{
    return _mm_castpd_si128(_mm_move_sd(_mm_castsi128_pd(high), _mm_castsi128_pd(low)));
}

template <int lo, int hi> inline __m128i weigh(__m128i v)
{
    return joinHalves(_mm_slli_epi16(v, lo), _mm_slli_epi16(v, hi));
}

template <int lo, int hi> inline __m128i divide(__m128i t)
{
    return joinHalves(_mm_srli_epi16(t, lo), _mm_srli_epi16(t, hi));
}
#else
// Lanes 0-3 lo, lanes 4-7 hi.
inline __m128i halves(int lo, int hi)
{
    return _mm_set_epi16(static_cast<short>(hi), static_cast<short>(hi), static_cast<short>(hi), static_cast<short>(hi),
                         static_cast<short>(lo), static_cast<short>(lo), static_cast<short>(lo),
                         static_cast<short>(lo));
}

template <int lo, int hi> inline __m128i weigh(__m128i v)
{
    return _mm_mullo_epi16(v, halves(1 << lo, 1 << hi));
}

template <int lo, int hi> inline __m128i divide(__m128i t)
{
    return _mm_mulhi_epu16(t, halves(1 << (16 - lo), 1 << (16 - hi)));
}
#endif

// n = a + floor((e + n0) / 2^k), k = lo in lanes 0-3 and hi in lanes 4-7.
template <int lo, int hi> inline __m128i settle(__m128i a, __m128i e, __m128i n0)
{
    return _mm_add_epi16(a, divide<lo, hi>(_mm_add_epi16(e, n0)));
}

// e of a pair of pixels, its a weighted wa: the weighted a of the block's
// pixels before each of the two. carry, those of the pairs before it, takes
// the pair in.
inline __m128i passOn(__m128i wa, __m128i& carry)
{
    const __m128i e = _mm_add_epi16(_mm_slli_si128(wa, 8), carry);
    carry = _mm_add_epi16(carry, _mm_add_epi16(wa, _mm_shuffle_epi32(wa, 0x4E)));
    return e;
}

// Pixel pair r of a block weighs 2^(2r + 1) and 2^(2r + 2).
void threeNeighbourRow(std::uint32_t* p, std::ptrdiff_t w)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i n0 = _mm_unpacklo_epi64(widen(p[-1]), widen(p[-1]));
    std::ptrdiff_t x = 0;
    for (; x + 8 <= w; x += 8) {
        const __m128i lo = _mm_add_epi8(quarters(load4(p + x - w)), quarters(load4(p + x + w)));
        const __m128i hi = _mm_add_epi8(quarters(load4(p + x + 4 - w)), quarters(load4(p + x + 4 + w)));
        const __m128i a0 = _mm_unpacklo_epi8(lo, zero), a1 = _mm_unpackhi_epi8(lo, zero);
        const __m128i a2 = _mm_unpacklo_epi8(hi, zero), a3 = _mm_unpackhi_epi8(hi, zero);
        __m128i carry = zero;
        const __m128i e0 = passOn(weigh<1, 2>(a0), carry);
        const __m128i e1 = passOn(weigh<3, 4>(a1), carry);
        const __m128i e2 = passOn(weigh<5, 6>(a2), carry);
        const __m128i e3 = passOn(weigh<7, 8>(a3), carry);
        const __m128i n3 = settle<7, 8>(a3, e3, n0);
        store4(p + x, _mm_packus_epi16(settle<1, 2>(a0, e0, n0), settle<3, 4>(a1, e1, n0)));
        store4(p + x + 4, _mm_packus_epi16(settle<5, 6>(a2, e2, n0), n3));
        n0 = highPixelTwice(n3);
    }
    for (; x < w; ++x)
        p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 1) & kHalf);
}

// Pixel pair r of a block weighs 2^(4r + 2) and 2^(4r + 4).
void fourNeighbourRow(std::uint32_t* p, std::ptrdiff_t w)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i n0 = _mm_unpacklo_epi64(widen(p[-1]), widen(p[-1]));
    std::ptrdiff_t x = 0;
    // The "after" of the block's last pixel is the next block's first, or
    // the first of the row below: not yet blurred either way.
    for (; x + 4 <= w; x += 4) {
        const __m128i sum = _mm_add_epi8(_mm_add_epi8(quarters(load4(p + x - w)), quarters(load4(p + x + w))),
                                         quarters(load4(p + x + 1)));
        const __m128i a0 = _mm_unpacklo_epi8(sum, zero), a1 = _mm_unpackhi_epi8(sum, zero);
        __m128i carry = zero;
        const __m128i e0 = passOn(weigh<2, 4>(a0), carry);
        const __m128i e1 = passOn(weigh<6, 8>(a1), carry);
        const __m128i n1 = settle<6, 8>(a1, e1, n0);
        store4(p + x, _mm_packus_epi16(settle<2, 4>(a0, e0, n0), n1));
        n0 = highPixelTwice(n1);
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
