#include "image/PixelRows.h"
#include "image/RowSplit.h"

#if ZOV_HAVE_AVX2_ROWS

#include <immintrin.h>

#include <cstdint>

// Eight pixels (32 bytes) per step, the same bytes as the scalar reference.
// Only the functions marked ZOV_AVX2 use AVX2, so the rest of the program
// stays baseline x86-64; they run only where the CPU has it. The pixels
// before dst's first 32-byte boundary and the last n % 8 go through the SSE2
// routines, so dst is read and written aligned; the sources need not be.
#define ZOV_AVX2 __attribute__((target("avx2")))

namespace zov::rows::avx2 {

namespace {

ZOV_AVX2 inline __m256i load(const std::uint32_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
ZOV_AVX2 inline __m256i loadDst(const std::uint32_t* p)
{
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
}
ZOV_AVX2 inline void storeDst(std::uint32_t* p, __m256i v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }

// (s * k) >> 8 per byte, k a 16-bit lane value 0..255: with s in the high
// byte of a lane, the high half of the product is exactly that. Unpack and
// pack both stay within 128-bit halves, so the bytes come back in order.
ZOV_AVX2 inline __m256i scaleBytes(__m256i s, __m256i k)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, s), k);
    const __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, s), k);
    return _mm256_packus_epi16(lo, hi);
}

// (s * a + d * inv) >> 8 per byte, a + inv = 255, each the same in both
// 16-bit lanes of a pixel: bytes 0 and 2 in the low halves of the lanes,
// bytes 1 and 3 in the high halves, no widening.
ZOV_AVX2 inline __m256i mixBytes(__m256i s, __m256i d, __m256i a, __m256i inv)
{
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i highBytes = _mm256_set1_epi16(static_cast<short>(0xFF00));
    const __m256i even = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, lowBytes), a),
                                                            _mm256_mullo_epi16(_mm256_and_si256(d, lowBytes), inv)),
                                           8);
    const __m256i odd = _mm256_and_si256(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(s, 8), a),
                                                          _mm256_mullo_epi16(_mm256_srli_epi16(d, 8), inv)),
                                         highBytes);
    return _mm256_or_si256(even, odd);
}

} // namespace

ZOV_AVX2 void add(std::uint32_t* dst, const std::uint32_t* src, int n)
{
    const RowSplit s = splitRow<8>(dst, n);
    if (s.head > 0)
        sse2::add(dst, src, s.head);
    dst += s.head;
    src += s.head;
    for (int i = 0; i < s.body; i += 8)
        storeDst(dst + i, _mm256_adds_epu8(loadDst(dst + i), load(src + i)));
    if (s.tail > 0)
        sse2::add(dst + s.body, src + s.body, s.tail);
}

ZOV_AVX2 void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    const RowSplit s = splitRow<8>(dst, n);
    if (s.head > 0)
        sse2::fade(dst, src, s.head, level);
    dst += s.head;
    src += s.head;
    const __m256i k = _mm256_set1_epi16(static_cast<short>(level));
    for (int i = 0; i < s.body; i += 8)
        storeDst(dst + i, _mm256_adds_epu8(loadDst(dst + i), scaleBytes(load(src + i), k)));
    if (s.tail > 0)
        sse2::fade(dst + s.body, src + s.body, s.tail, level);
}

ZOV_AVX2 void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    const RowSplit s = splitRow<8>(dst, n);
    if (s.head > 0)
        sse2::mask(dst, src, alpha, s.head);
    dst += s.head;
    src += s.head;
    alpha += s.head;
    // Byte 0 of each alpha pixel into both 16-bit lanes of the pixel.
    const __m256i spread = _mm256_setr_epi8(0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12, -1, //
                                            0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12, -1);
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    for (int i = 0; i < s.body; i += 8) {
        const __m256i a = _mm256_shuffle_epi8(load(alpha + i), spread);
        storeDst(dst + i, mixBytes(load(src + i), loadDst(dst + i), a, _mm256_xor_si256(a, lowBytes)));
    }
    if (s.tail > 0)
        sse2::mask(dst + s.body, src + s.body, alpha + s.body, s.tail);
}

ZOV_AVX2 void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    const RowSplit s = splitRow<8>(dst, n);
    if (s.head > 0)
        sse2::blend(dst, a, b, s.head, f);
    dst += s.head;
    a += s.head;
    b += s.head;
    const __m256i fa = _mm256_set1_epi16(static_cast<short>(f));
    const __m256i gb = _mm256_set1_epi16(static_cast<short>(255 - f));
    for (int i = 0; i < s.body; i += 8)
        storeDst(dst + i, mixBytes(load(a + i), load(b + i), fa, gb));
    if (s.tail > 0)
        sse2::blend(dst + s.body, a + s.body, b + s.body, s.tail, f);
}

ZOV_AVX2 void invert(std::uint32_t* p, int n)
{
    const RowSplit s = splitRow<8>(p, n);
    if (s.head > 0)
        sse2::invert(p, s.head);
    p += s.head;
    const __m256i flip = _mm256_set1_epi32(0x00FFFFFF);
    for (int i = 0; i < s.body; i += 8)
        storeDst(p + i, _mm256_xor_si256(loadDst(p + i), flip));
    if (s.tail > 0)
        sse2::invert(p + s.body, s.tail);
}

} // namespace zov::rows::avx2

#endif
