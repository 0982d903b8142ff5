#pragma once

#include <cstdint>

// Row routines behind the whole-bitmap operations: n pixels at a time, no
// alignment required, rows may not overlap unless they are the same row.
// `scalar` is the plain reference; `sse2` (x86-64, WebAssembly with SIMD)
// and `avx2` (x86-64, run only where the CPU has it) must give the same
// bytes. The unqualified names use the fastest set this machine runs, chosen
// once.
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

// WebAssembly built with SIMD128 and -msse2 runs the SSE2 set too: Emscripten
// maps its intrinsics.
#if defined(__x86_64__) || defined(_M_X64) || (defined(__wasm_simd128__) && defined(__SSE2__))
#define ZOV_HAVE_SSE2_ROWS 1
namespace sse2 {
void add(std::uint32_t* dst, const std::uint32_t* src, int n);
void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level);
void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n);
void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f);
void invert(std::uint32_t* p, int n);
} // namespace sse2
#else
#define ZOV_HAVE_SSE2_ROWS 0
#endif

#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define ZOV_HAVE_AVX2_ROWS 1
// Call only where cpuHasAvx2().
namespace avx2 {
void add(std::uint32_t* dst, const std::uint32_t* src, int n);
void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level);
void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n);
void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f);
void invert(std::uint32_t* p, int n);
} // namespace avx2
#else
#define ZOV_HAVE_AVX2_ROWS 0
#endif

// One set of the routines above.
struct RowRoutines {
    const char* name; // "scalar", "sse2" or "avx2"
    void (*add)(std::uint32_t* dst, const std::uint32_t* src, int n);
    void (*fade)(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level);
    void (*mask)(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n);
    void (*blend)(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f);
    void (*invert)(std::uint32_t* p, int n);
};

// The CPU and the operating system both support AVX2.
bool cpuHasAvx2();
// An environment value that keeps the program off AVX2: anything but
// unset, empty or "0".
bool refusesAvx2(const char* environmentValue);
// The fastest set given what the CPU has and whether AVX2 is refused.
const RowRoutines& chooseRoutines(bool hasAvx2, bool avx2Refused);
// Chosen on first use from cpuHasAvx2() and the environment variable
// ZOV_NO_AVX2, then kept for the life of the process.
const RowRoutines& activeRoutines();

inline void add(std::uint32_t* dst, const std::uint32_t* src, int n) { activeRoutines().add(dst, src, n); }
inline void fade(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t level)
{
    activeRoutines().fade(dst, src, n, level);
}
inline void mask(std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* alpha, int n)
{
    activeRoutines().mask(dst, src, alpha, n);
}
inline void blend(std::uint32_t* dst, const std::uint32_t* a, const std::uint32_t* b, int n, std::uint32_t f)
{
    activeRoutines().blend(dst, a, b, n, f);
}
inline void invert(std::uint32_t* p, int n) { activeRoutines().invert(p, n); }

} // namespace zov::rows
