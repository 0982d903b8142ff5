#include "image/Bitmap.h"
#include "image/PixelRows.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

// Whole-frame bitmap operations at the show's 512 x 384, beside a memcpy of
// the same bytes as the yardstick. The label names the row routines in use;
// ZOV_NO_AVX2=1 measures the SSE2 ones on a machine with AVX2.
namespace zov {
namespace {

constexpr int kW = 512;
constexpr int kH = 384;
constexpr std::int64_t kFrameBytes = std::int64_t{kW} * kH * 4;

struct Frames {
    Bitmap src{kW, kH};
    Bitmap dst{kW, kH};
    Bitmap other{kW, kH};
    Bitmap alpha{kW, kH};

    Frames()
    {
        std::mt19937 rng(1);
        for (Bitmap* b : {&src, &dst, &other, &alpha})
            for (std::size_t i = 0; i < b->pixelCount(); ++i)
                b->pixels()[i] = static_cast<std::uint32_t>(rng());
    }
};

Frames& frames()
{
    static Frames f;
    return f;
}

template <typename Op>
void runFrames(benchmark::State& state, Op op)
{
    Frames& f = frames();
    for (auto _ : state) {
        op(f);
        benchmark::DoNotOptimize(f.dst.pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameBytes);
    state.SetLabel(rows::activeRoutines().name);
}

void BM_Memcpy(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { std::memcpy(f.dst.pixels(), f.src.pixels(), kFrameBytes); });
}
void BM_CopyTo(benchmark::State& s) { runFrames(s, [](Frames& f) { f.src.copyTo(f.dst); }); }
void BM_AddTo(benchmark::State& s) { runFrames(s, [](Frames& f) { f.src.addTo(f.dst); }); }
void BM_AddAt(benchmark::State& s) { runFrames(s, [](Frames& f) { f.src.addAt(f.dst, 0, 0); }); }
void BM_FadeAt(benchmark::State& s) { runFrames(s, [](Frames& f) { f.src.fadeAt(f.dst, 0, 0, 100); }); }
void BM_MaskAt(benchmark::State& s) { runFrames(s, [](Frames& f) { f.src.maskAt(f.dst, 0, 0, f.alpha); }); }
void BM_Blend(benchmark::State& s) { runFrames(s, [](Frames& f) { f.dst.blend(f.src, f.other, 100); }); }
void BM_Invert(benchmark::State& s) { runFrames(s, [](Frames& f) { f.dst.invert(); }); }
void BM_BlitScrollWrapAdd(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { f.src.blitScroll(f.dst, 0, 0, 123, 45, true, true); });
}
void BM_BlitScrollWrapCopy(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { f.src.blitScroll(f.dst, 0, 0, 123, 45, true, false); });
}
void BM_ScaleToFrom640x480(benchmark::State& s)
{
    static Bitmap big(640, 480);
    runFrames(s, [](Frames& f) { big.scaleTo(f.dst); });
}

// The scalar references, for scale.
void BM_ScalarAdd(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { rows::scalar::add(f.dst.pixels(), f.src.pixels(), kW * kH); });
}
void BM_ScalarFade(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { rows::scalar::fade(f.dst.pixels(), f.src.pixels(), kW * kH, 100); });
}
void BM_ScalarMask(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { rows::scalar::mask(f.dst.pixels(), f.src.pixels(), f.alpha.pixels(), kW * kH); });
}
void BM_ScalarBlend(benchmark::State& s)
{
    runFrames(s, [](Frames& f) { rows::scalar::blend(f.dst.pixels(), f.src.pixels(), f.other.pixels(), kW * kH, 100); });
}

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_CopyTo);
BENCHMARK(BM_AddTo);
BENCHMARK(BM_AddAt);
BENCHMARK(BM_FadeAt);
BENCHMARK(BM_MaskAt);
BENCHMARK(BM_Blend);
BENCHMARK(BM_Invert);
BENCHMARK(BM_BlitScrollWrapAdd);
BENCHMARK(BM_BlitScrollWrapCopy);
BENCHMARK(BM_ScaleToFrom640x480);
BENCHMARK(BM_ScalarAdd);
BENCHMARK(BM_ScalarFade);
BENCHMARK(BM_ScalarMask);
BENCHMARK(BM_ScalarBlend);

} // namespace
} // namespace zov

BENCHMARK_MAIN();
