#include "image/Bitmap.h"
#include "platform/AudioMusicPlayer.h"
#include "platform/OfflineAudioLayer.h"
#include "platform/PixelConverter.h"
#include "platform/sdl/FileSources.h"

#include "tests/platform/TinyXm.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using namespace zov;

namespace {

const ScreenFormat kFormats[] = {
    {32, 0xFF0000, 0xFF00, 0xFF}, {32, 0xFF, 0xFF00, 0xFF0000}, {24, 0xFF0000, 0xFF00, 0xFF},
    {24, 0xFF, 0xFF00, 0xFF0000}, {16, 0xF800, 0x7E0, 0x1F},    {16, 0x1F, 0x7E0, 0xF800},
    {16, 0x7C00, 0x3E0, 0x1F},    {16, 0x1F, 0x3E0, 0x7C00},
};

// One 512x384 frame into a screen surface of each format (the pitch padded
// as a driver would).
void convertFrame(benchmark::State& state)
{
    const ScreenFormat& format = kFormats[state.range(0)];
    Bitmap frame(512, 384);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 512; ++x)
            frame.setPixel(x, y, static_cast<std::uint32_t>(x * 0x010203 + y * 0x030201));
    const int pitch = 512 * format.bitsPerPixel / 8 + 64;
    std::vector<std::uint8_t> surface(static_cast<std::size_t>(pitch) * 384);
    const PixelConverter converter = selectConverter(format);
    for (auto _ : state) {
        convertRows(frame, converter, surface.data(), pitch);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 512 * 384 * 4);
}
BENCHMARK(convertFrame)->DenseRange(0, 7);

// Mixing one video frame's worth of a module (735 frames at 60 fps), as the
// audio thread does; the share of one core the music takes.
void mixModule(benchmark::State& state)
{
    const std::string path = test::scratchPath("bench.xm");
    test::TinyXm song;
    song.orders = {0, 1, 2, 0, 1, 2};
    test::writeFile(path, test::makeTinyXm(song));
    FileSourceOpener opener;
    OfflineAudioLayer audio(opener);
    AudioMusicPlayer player(audio);
    player.load(path.c_str());
    player.playAt(0, 0);
    std::vector<float> out(2 * 735);
    for (auto _ : state) {
        audio.step(735, out.data());
        benchmark::DoNotOptimize(player.row());
    }
    std::remove(path.c_str());
}
BENCHMARK(mixModule);

} // namespace

BENCHMARK_MAIN();
