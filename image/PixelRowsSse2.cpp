#include "image/PixelRows.h"
#include "image/RowSplit.h"

#if ZOV_HAVE_SSE2_ROWS

#include <emmintrin.h>

#include <cstdint>

// Four pixels (16 bytes) per step, the same bytes as the scalar reference.
// The reference takes the pixels before dst's first 16-byte boundary and the
// last n % 4; in between dst is aligned, and the sources are read aligned
// too when they share its alignment (the whole-frame case): without VEX an
// aligned load folds into the operation that uses it, and the loops here
// are bound by the number of instructions.
namespace zov::rows::sse2 {

namespace {

template <bool Aligned>
inline __m128i load(const std::uint32_t* p)
{
    if constexpr (Aligned)
        return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    else
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline __m128i loadDst(const std::uint32_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
inline void storeDst(std::uint32_t* p, __m128i v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }

inline bool aligned(const std::uint32_t* p) { return (reinterpret_cast<std::uintptr_t>(p) & 15u) == 0; }

// (s * k) >> 8 per byte, k a 16-bit lane value 0..255: with s in the high
// byte of a lane, the high half of the product is exactly that.
inline __m128i scaleBytes(__m128i s, __m128i k)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, s), k);
    const __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, s), k);
    return _mm_packus_epi16(lo, hi);
}

// (s * a + d * inv) >> 8 per byte, a + inv = 255 (so the sum fits 16 bits),
// a and inv the same in both 16-bit lanes of a pixel. Without widening:
// bytes 0 and 2 are worked in the low halves of the lanes, bytes 1 and 3 in
// the high halves, so no shuffles are needed.
inline __m128i mixBytes(__m128i s, __m128i d, __m128i a, __m128i inv)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i even = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(s, lowBytes), a),
                                                      _mm_mullo_epi16(_mm_and_si128(d, lowBytes), inv)),
                                        8);
    const __m128i odd = _mm_and_si128(
        _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(s, 8), a), _mm_mullo_epi16(_mm_srli_epi16(d, 8), inv)), highBytes);
    return _mm_or_si128(even, odd);
}

template <bool Aligned>
void addBody(std::uint32_t* dst, const std::uint32_t* src, int n)
{
    for (int i = 0; i < n; i += 4)
        storeDst(dst + i, _mm_adds_epu8(loadDst(dst + i), load<Aligned>(src + i)));
}

template <bool Aligned>
void fadeBody(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    const __m128i k = _mm_set1_epi16(static_cast<short>(level));
    for (int i = 0; i < n; i += 4)
        storeDst(dst + i, _mm_adds_epu8(loadDst(dst + i), scaleBytes(load<Aligned>(src + i), k)));
}

template <bool Aligned>
void maskBody(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (int i = 0; i < n; i += 4) {
        // Lane 0 of each pixel into both its lanes, then byte 0 alone: a.
        __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(load<Aligned>(alpha + i), 0xA0), 0xA0);
        a = _mm_and_si128(a, lowBytes);
        const __m128i inv = _mm_xor_si128(a, lowBytes); // 255 - a
        storeDst(dst + i, mixBytes(load<Aligned>(src + i), loadDst(dst + i), a, inv));
    }
}

template <bool Aligned>
void blendBody(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    const __m128i fa = _mm_set1_epi16(static_cast<short>(f));
    const __m128i gb = _mm_set1_epi16(static_cast<short>(255 - f));
    for (int i = 0; i < n; i += 4)
        storeDst(dst + i, mixBytes(load<Aligned>(a + i), load<Aligned>(b + i), fa, gb));
}

} // namespace

void add(std::uint32_t* dst, const std::uint32_t* src, int n)
{
    const RowSplit s = splitRow<4>(dst, n);
    if (s.head > 0)
        scalar::add(dst, src, s.head);
    dst += s.head;
    src += s.head;
    if (aligned(src))
        addBody<true>(dst, src, s.body);
    else
        addBody<false>(dst, src, s.body);
    if (s.tail > 0)
        scalar::add(dst + s.body, src + s.body, s.tail);
}

void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    const RowSplit s = splitRow<4>(dst, n);
    if (s.head > 0)
        scalar::fade(dst, src, s.head, level);
    dst += s.head;
    src += s.head;
    if (aligned(src))
        fadeBody<true>(dst, src, s.body, level);
    else
        fadeBody<false>(dst, src, s.body, level);
    if (s.tail > 0)
        scalar::fade(dst + s.body, src + s.body, s.tail, level);
}

void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    const RowSplit s = splitRow<4>(dst, n);
    if (s.head > 0)
        scalar::mask(dst, src, alpha, s.head);
    dst += s.head;
    src += s.head;
    alpha += s.head;
    if (aligned(src) && aligned(alpha))
        maskBody<true>(dst, src, alpha, s.body);
    else
        maskBody<false>(dst, src, alpha, s.body);
    if (s.tail > 0)
        scalar::mask(dst + s.body, src + s.body, alpha + s.body, s.tail);
}

void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    const RowSplit s = splitRow<4>(dst, n);
    if (s.head > 0)
        scalar::blend(dst, a, b, s.head, f);
    dst += s.head;
    a += s.head;
    b += s.head;
    if (aligned(a) && aligned(b))
        blendBody<true>(dst, a, b, s.body, f);
    else
        blendBody<false>(dst, a, b, s.body, f);
    if (s.tail > 0)
        scalar::blend(dst + s.body, a + s.body, b + s.body, s.tail, f);
}

void invert(std::uint32_t* p, int n)
{
    const RowSplit s = splitRow<4>(p, n);
    if (s.head > 0)
        scalar::invert(p, s.head);
    p += s.head;
    const __m128i flip = _mm_set1_epi32(0x00FFFFFF);
    for (int i = 0; i < s.body; i += 4)
        storeDst(p + i, _mm_xor_si128(loadDst(p + i), flip));
    if (s.tail > 0)
        scalar::invert(p + s.body, s.tail);
}

} // namespace zov::rows::sse2

#endif
