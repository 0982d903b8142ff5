#include "lwo/LwoReader.h"
#include "lwo/PolygonTriangulator.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// The in-memory parse of an object far larger than the show's: a grid of
// 256 x 256 points, two triangles per cell, four surfaces named in SRFS in
// another order than their SURF chunks.
namespace zov {
namespace {

struct Writer {
    std::vector<std::uint8_t> bytes;

    void u16(unsigned v) { bytes.insert(bytes.end(), {std::uint8_t(v >> 8), std::uint8_t(v)}); }
    void u32(std::uint32_t v)
    {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void id(const char* s) { bytes.insert(bytes.end(), s, s + 4); }
    void name(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.resize(bytes.size() + (s.size() % 2 == 0 ? 2 : 1), 0);
    }
    // Starts a chunk; end() fills in its size.
    std::size_t begin(const char* chunkId)
    {
        id(chunkId);
        u32(0);
        return bytes.size();
    }
    void end(std::size_t start)
    {
        const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - start);
        for (int i = 0; i < 4; ++i)
            bytes[start - 4 + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
};

std::vector<std::uint8_t> gridObject()
{
    constexpr unsigned kSide = 256;
    const char* names[] = {"Red", "Green", "Blue", "Grey"};
    Writer w;
    const std::size_t form = w.begin("FORM");
    w.id("LWOB");
    std::size_t c = w.begin("SRFS");
    for (const char* n : names)
        w.name(n);
    w.end(c);
    c = w.begin("PNTS");
    for (unsigned i = 0; i < kSide * kSide; ++i)
        for (std::uint32_t v : {i % kSide, i / kSide, 0u})
            w.u32(std::bit_cast<std::uint32_t>(static_cast<float>(v)));
    w.end(c);
    c = w.begin("POLS");
    for (unsigned y = 0; y + 1 < kSide; ++y)
        for (unsigned x = 0; x + 1 < kSide; ++x) {
            const unsigned a = y * kSide + x;
            for (unsigned corner : {3u, a, a + 1, a + kSide, 1 + x % 4, 3u, a + 1, a + kSide + 1, a + kSide, 1 + y % 4})
                w.u16(corner);
        }
    w.end(c);
    for (int i = 3; i >= 0; --i) {
        c = w.begin("SURF");
        w.name(names[i]);
        w.id("COLR");
        w.u16(4);
        w.u32(0x80808000);
        w.end(c);
    }
    w.end(form);
    return w.bytes;
}

void BM_ParseGridObject(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = gridObject();
    LwoReader reader;
    for (auto _ : state) {
        reader.parse(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(reader.result().polygons.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.counters["polygons"] = static_cast<double>(reader.result().polygons.size());
}
BENCHMARK(BM_ParseGridObject)->Unit(benchmark::kMillisecond);

// Ear clipping of a star of state.range(0) corners, every other one drawn in
// to half the radius: the steps a polygon costs, and up to what size one
// object's budget lasts (past it the rest is fanned, and the time is the
// most any object can spend).
void BM_TriangulateStar(benchmark::State& state)
{
    const auto n = static_cast<std::uint16_t>(state.range(0));
    std::vector<Vec3> points;
    std::vector<std::uint16_t> corners;
    for (std::uint16_t k = 0; k < n; ++k) {
        const double angle = 2 * 3.14159265358979 * k / n, radius = k % 2 ? 0.5 : 1.0;
        points.emplace_back(radius * std::cos(angle), radius * std::sin(angle), 0);
        corners.push_back(k);
    }
    std::vector<CornerTriangle> triangles;
    std::uint64_t steps = 0;
    for (auto _ : state) {
        PolygonTriangulator triangulator;
        triangulator.triangulate(points, corners, triangles);
        benchmark::DoNotOptimize(triangles.data());
        steps = PolygonTriangulator::kWorkBudget - triangulator.workLeft();
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["budget"] = static_cast<double>(steps) / PolygonTriangulator::kWorkBudget;
}
BENCHMARK(BM_TriangulateStar)->Arg(66)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zov

BENCHMARK_MAIN();
