#include "image/PixelRows.h"

#include <cstdlib>
#include <cstring>

namespace zov::rows {

namespace {

#if ZOV_HAVE_SSE2_ROWS
constexpr RowRoutines kSse2{"sse2", sse2::add, sse2::fade, sse2::mask, sse2::blend, sse2::invert};
#else
constexpr RowRoutines kScalar{"scalar", scalar::add, scalar::fade, scalar::mask, scalar::blend, scalar::invert};
#endif
#if ZOV_HAVE_AVX2_ROWS
constexpr RowRoutines kAvx2{"avx2", avx2::add, avx2::fade, avx2::mask, avx2::blend, avx2::invert};
#endif

} // namespace

bool cpuHasAvx2()
{
#if ZOV_HAVE_AVX2_ROWS
    // May run before the runtime's own constructors have filled in the CPU
    // model.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool refusesAvx2(const char* environmentValue)
{
    return environmentValue != nullptr && environmentValue[0] != '\0' && std::strcmp(environmentValue, "0") != 0;
}

const RowRoutines& chooseRoutines([[maybe_unused]] bool hasAvx2, [[maybe_unused]] bool avx2Refused)
{
#if ZOV_HAVE_AVX2_ROWS
    if (hasAvx2 && !avx2Refused)
        return kAvx2;
#endif
#if ZOV_HAVE_SSE2_ROWS
    return kSse2;
#else
    return kScalar;
#endif
}

const RowRoutines& activeRoutines()
{
    static const RowRoutines& chosen = chooseRoutines(cpuHasAvx2(), refusesAvx2(std::getenv("ZOV_NO_AVX2")));
    return chosen;
}

} // namespace zov::rows
