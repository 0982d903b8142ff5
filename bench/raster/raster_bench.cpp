// Fill rates of every fill on fixed sets of random screen triangles (small,
// medium, large) and of the additive sprite. Counter "Mpix/s": millions of
// pixels covered per second (each covered pixel counted once per triangle).
//   ./raster_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "raster/RasterTriangle.h"
#include "raster/Sprite.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace zov {
namespace {

constexpr int W = 512;
constexpr int H = 384;

std::vector<std::uint32_t> texture(std::uint32_t seed)
{
    std::vector<std::uint32_t> t(256 * 256);
    std::mt19937 rng(seed);
    for (std::uint32_t& p : t)
        p = rng() & 0x00FFFFFFu;
    return t;
}

struct Textures {
    std::vector<std::uint32_t> a = texture(1), b = texture(2), c = texture(3), d = texture(4);
    std::vector<std::uint32_t> one = std::vector<std::uint32_t>(256 * 256, 1u);
};

const Textures& textures()
{
    static const Textures t;
    return t;
}

struct TriangleSet {
    std::vector<OwnedRasterTriangle> triangles;
    std::vector<std::array<float, 9>> coords; // camera space, restored before each fill
    double edgePixels = 0.0;                   // pixels covered under the edge-walking rule
    double perspectivePixels = 0.0;            // and under the perspective fills' rule
};

// Random front-facing triangles of about `size` pixels across, inside the
// target, at depths 10..100 (each vertex its own).
TriangleSet makeSet(int n, float size, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    TriangleSet set;
    for (int i = 0; i < n; ++i) {
        OwnedRasterTriangle t;
        const float cx = size / 2 + unit(rng) * (W - size), cy = size / 2 + unit(rng) * (H - size);
        float sx[3], sy[3];
        for (int k = 0; k < 3; ++k) {
            sx[k] = cx + (unit(rng) - 0.5f) * size;
            sy[k] = cy + (unit(rng) - 0.5f) * size;
        }
        if ((sy[0] - sy[2]) * (sx[1] - sx[0]) - (sy[1] - sy[0]) * (sx[0] - sx[2]) > 0) {
            std::swap(sx[1], sx[2]);
            std::swap(sy[1], sy[2]);
        }
        for (int k = 0; k < 3; ++k) {
            const float z = 10.0f + unit(rng) * 90.0f;
            t.coords[k] = (sx[k] - W / 2) * z / W;
            t.coords[3 + k] = (H / 2 - sy[k]) * z / W;
            t.coords[6 + k] = z;
            for (int s = 0; s < 4; ++s) {
                t.uv[s][k] = unit(rng) * 512.0f;
                t.uv[s][3 + k] = unit(rng) * 512.0f;
            }
            for (int c = 0; c < 3; ++c)
                t.shades[c * 3 + k] = static_cast<int>(unit(rng) * 255.0f);
        }
        const Textures& tx = textures();
        t.triangle.textureA = tx.a.data();
        t.triangle.textureB = tx.b.data();
        t.triangle.textureC = tx.c.data();
        t.triangle.textureD = tx.d.data();
        t.triangle.colour = 0x00806040u;
        set.coords.push_back({});
        std::memcpy(set.coords.back().data(), t.coords, sizeof t.coords);
        set.triangles.push_back(t);
    }
    // Coverage counted by adding 1 per covered pixel (no depth stored).
    static Bitmap count(W, H);
    static NewRenderDriver driver(count);
    count.fill(0);
    auto sum = [&] {
        double n = 0;
        for (std::size_t i = 0; i < count.pixelCount(); ++i)
            n += count.pixels()[i] & 0xFFu;
        return n;
    };
    for (std::size_t i = 0; i < set.triangles.size(); ++i) {
        OwnedRasterTriangle t = set.triangles[i];
        t.triangle.colour = 1;
        t.triangle.blend = 8;
        driver.fillFlat(t.triangle, count, 0);
    }
    set.edgePixels = sum();
    count.fill(0);
    for (std::size_t i = 0; i < set.triangles.size(); ++i) {
        OwnedRasterTriangle t = set.triangles[i];
        t.triangle.textureA = textures().one.data();
        t.triangle.blend = 8;
        driver.fillPerspective(t.triangle, count, 0);
    }
    set.perspectivePixels = sum();
    return set;
}

const TriangleSet& set(int which)
{
    static const TriangleSet sets[3] = {makeSet(2000, 12.0f, 11), makeSet(400, 60.0f, 12), makeSet(40, 300.0f, 13)};
    return sets[which];
}

using Fill = void (NewRenderDriver::*)(RasterTriangle&, Bitmap&, int);

struct FillCase {
    const char* name;
    Fill fill;
    std::uint8_t blend;
    std::uint8_t transparency;
    bool perspective;
};

void fillBench(benchmark::State& state, FillCase c, int which)
{
    const TriangleSet& s = set(which);
    std::vector<OwnedRasterTriangle> tris = s.triangles;
    for (OwnedRasterTriangle& t : tris) {
        t.triangle.blend = c.blend;
        t.triangle.transparency = c.transparency;
    }
    // One target for every run: their destructors print.
    static Bitmap target(W, H);
    static NewRenderDriver driver(target);
    driver.clearDepth();
    driver.fogNear = 0.05f;
    driver.fogFar = 0.012f;
    driver.fogRange = driver.fogNear - driver.fogFar;
    driver.fogColour = 0x00202040u;
    int stamp = 0;
    for (auto _ : state) {
        // A new stamp per pass, as the pipeline does per frame.
        if (++stamp == 512) {
            stamp = 0;
            driver.clearDepth();
        }
        for (std::size_t i = 0; i < tris.size(); ++i) {
            std::memcpy(tris[i].coords, s.coords[i].data(), sizeof tris[i].coords);
            (driver.*c.fill)(tris[i].triangle, target, stamp);
        }
        benchmark::ClobberMemory();
    }
    const double pixels = c.perspective ? s.perspectivePixels : s.edgePixels;
    state.counters["Mpix/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// 64 x 64 glow sprites, 48 to 160 pixels across, additive, never hidden.
void spriteBench(benchmark::State& state)
{
    static Bitmap target(W, H), image(64, 64);
    for (int v = 0; v < 64; ++v)
        for (int u = 0; u < 64; ++u)
            image.setPixel(u, v, static_cast<std::uint32_t>((u * v) & 0x3F) * 0x010101u);
    static NewRenderDriver driver(target);
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Sprite> sprites(200);
    double pixels = 0;
    for (Sprite& s : sprites) {
        const double z = 20.0;
        const int px = 48 + static_cast<int>(unit(rng) * 112);
        s.image = &image;
        s.size.set(px * z / W, px * z / W, 0);
        s.position.set((unit(rng) - 0.5) * 300 * z / W, (unit(rng) - 0.5) * 200 * z / W, z);
        pixels += static_cast<double>(px) * px;
    }
    for (auto _ : state) {
        for (const Sprite& s : sprites)
            driver.drawSprite(s, target, 2000000000);
        benchmark::ClobberMemory();
    }
    state.counters["Mpix/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void registerAll()
{
    const FillCase cases[] = {
        {"flat", &NewRenderDriver::fillFlat, 0, 0, false},
        {"flat_add", &NewRenderDriver::fillFlat, 8, 0, false},
        {"textured", &NewRenderDriver::fillTextured, 0, 0, false},
        {"textured_add", &NewRenderDriver::fillTextured, 8, 0, false},
        {"textured_half", &NewRenderDriver::fillTextured, 4, 128, false},
        {"textured_blend", &NewRenderDriver::fillTextured, 4, 64, false},
        {"env_add", &NewRenderDriver::fillTextureEnvAdd, 0, 0, false},
        {"masked", &NewRenderDriver::fillTextureMasked, 0, 0, false},
        {"bump_env", &NewRenderDriver::fillBumpEnv, 0, 0, false},
        {"gouraud", &NewRenderDriver::fillGouraud, 0, 0, false},
        {"gouraud_textured", &NewRenderDriver::fillGouraudTextured, 0, 0, false},
        {"perspective", &NewRenderDriver::fillPerspective, 0, 0, true},
        {"perspective_add", &NewRenderDriver::fillPerspective, 8, 0, true},
        {"perspective_keyed", &NewRenderDriver::fillPerspectiveKeyed, 0, 0, true},
        {"perspective_no_depth", &NewRenderDriver::fillPerspectiveNoDepth, 0, 0, true},
        {"perspective_fog", &NewRenderDriver::fillPerspectiveFog, 0, 0, true},
        {"perspective_fog_no_depth", &NewRenderDriver::fillPerspectiveFogNoDepth, 0, 0, true},
    };
    const char* sizes[] = {"small", "medium", "large"};
    for (const FillCase& c : cases)
        for (int s = 0; s < 3; ++s)
            benchmark::RegisterBenchmark((std::string(c.name) + "/" + sizes[s]).c_str(), fillBench, c, s);
    benchmark::RegisterBenchmark("sprite_add", spriteBench);
}

} // namespace
} // namespace zov

int main(int argc, char** argv)
{
    zov::registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
