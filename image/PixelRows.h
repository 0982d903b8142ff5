#pragma once

#include <cstdint>

// Row routines behind the whole-bitmap operations: n pixels at a time, no
// alignment required, rows may not overlap unless they are the same row.
// `scalar` is the plain reference; `sse2` (x86-64 only) must give the same
// bytes; the unqualified names are the fastest the build has.
namespace zov::rows {

namespace scalar {
// dst = min(255, src + dst) per byte
void add(std::uint32_t* dst, const std::uint32_t* src, int n);
// dst = min(255, (src * level) >> 8 + dst) per byte, level 0..255
void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level);
// dst = (src * a + dst * (255 - a)) >> 8 per byte, a = byte 0 of alpha[i]
void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n);
// dst = (a * f + b * (255 - f)) >> 8 per byte, f 0..255
void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f);
// bytes 0..2 = 255 - themselves
void invert(std::uint32_t* p, int n);
} // namespace scalar

#if defined(__x86_64__) || defined(_M_X64)
#define ZOV_HAVE_SSE2_ROWS 1
namespace sse2 {
void add(std::uint32_t* dst, const std::uint32_t* src, int n);
void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level);
void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n);
void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f);
void invert(std::uint32_t* p, int n);
} // namespace sse2
namespace fast = sse2;
#else
#define ZOV_HAVE_SSE2_ROWS 0
namespace fast = scalar;
#endif

inline void add(std::uint32_t* dst, const std::uint32_t* src, int n) { fast::add(dst, src, n); }
inline void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    fast::fade(dst, src, n, level);
}
inline void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    fast::mask(dst, src, alpha, n);
}
inline void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    fast::blend(dst, a, b, n, f);
}
inline void invert(std::uint32_t* p, int n) { fast::invert(p, n); }

} // namespace zov::rows
