// The scene pipeline per stage and end to end, on a synthetic scene of
// 8000 small environment-mapped triangles (the scene's limit), and the kit's
// star as the show draws it. Counter "per_tri": time per triangle.
//   ./engine3d_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "engine3d/Camera.h"
#include "engine3d/DepthSort.h"
#include "engine3d/MeshObject.h"
#include "engine3d/Scene.h"
#include "engine3d/Surface.h"
#include "engine3d/TriangleClipper.h"
#include "image/Bitmap.h"
#include "lwo/ObjectBuilder.h"
#include "raster/NewRenderDriver.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace zov {
namespace {

constexpr int W = 512;
constexpr int H = 384;

void perTriangle(benchmark::State& state, int triangles)
{
    state.counters["per_tri"] = benchmark::Counter(
        static_cast<double>(triangles), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::shared_ptr<PolygonTexture> environmentSurface()
{
    auto surface = std::make_shared<PolygonTexture>();
    surface->slots[1] = std::make_unique<TextureSlot>();
    surface->slots[1]->bitmap = std::make_unique<Bitmap>(256, 256);
    std::uint32_t* p = surface->slots[1]->bitmap->pixels();
    for (int i = 0; i < 256 * 256; ++i)
        p[i] = static_cast<std::uint32_t>((i * 2654435761u) >> 8) & 0x00FFFFFFu;
    surface->flags = PolygonTexture::kEnvironmentMap;
    return surface;
}

// A rippled sheet of 100 x 40 quads (8000 triangles of about 5 x 9 pixels)
// filling the screen at depth about 25, slightly turned so that depths differ.
std::unique_ptr<meshSurfaceObject> makeSheet()
{
    constexpr int columns = 100, rows = 40;
    auto mesh = std::make_unique<meshSurfaceObject>();
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= columns; ++c) {
            const double x = -12.5 + 25.0 * c / columns, y = -9.4 + 18.8 * r / rows;
            const double z = 0.6 * std::sin(x * 0.9) * std::cos(y * 0.7);
            VertexRecord v;
            v.position.set(x, y, z);
            v.normal.set(0.3 * std::cos(x * 0.9), 0.3 * std::sin(y * 0.7), -1);
            v.normal.normalize();
            mesh->addVertex(v);
        }
    const auto surface = environmentSurface();
    auto corner = [](int r, int c) { return r * (columns + 1) + c; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int quad[2][3] = {{corner(r + 1, c), corner(r + 1, c + 1), corner(r, c)},
                                    {corner(r + 1, c + 1), corner(r, c + 1), corner(r, c)}};
            for (const auto& t : quad) {
                auto p = std::make_unique<SurfacePolygon>();
                p->vertexCount = 3;
                for (int k = 0; k < 3; ++k)
                    p->vertices[k] = t[k];
                p->texture = surface;
                mesh->addPolygon(std::move(p));
            }
        }
    mesh->scale.set(1, 1, 1);
    mesh->rotation.set(0.15, 0.1, 0.05);
    return mesh;
}

struct SheetScene {
    Bitmap target{W, H};
    NewRenderDriver driver{target};
    std::unique_ptr<meshSurfaceObject> mesh = makeSheet();
    Camera camera;

    SheetScene()
    {
        camera.position.set(0, 0, -25);
        mesh->updateMatrix();
    }
    TriangleBatch renderMesh() { return mesh->render(camera, 0.0, 0, nullptr); }
};

void BM_TransformAndLight(benchmark::State& state)
{
    SheetScene s;
    int n = 0;
    for (auto _ : state) {
        const TriangleBatch b = s.renderMesh();
        n = b.count;
        benchmark::DoNotOptimize(b.triangles);
    }
    perTriangle(state, n);
}
BENCHMARK(BM_TransformAndLight);

void BM_DepthSort(benchmark::State& state)
{
    SheetScene s;
    const TriangleBatch b = s.renderMesh();
    std::vector<RasterTriangle*> collected(b.triangles, b.triangles + b.count), work(collected.size());
    DepthSorter sorter(Scene::kMaxTriangles);
    for (auto _ : state) {
        // The collected order, as every frame starts from it.
        std::memcpy(work.data(), collected.data(), collected.size() * sizeof(RasterTriangle*));
        sorter.sort(work.data(), static_cast<int>(work.size()));
        benchmark::DoNotOptimize(work.data());
    }
    perTriangle(state, b.count);
}
BENCHMARK(BM_DepthSort);

// Clipping and the slot call, into the base driver's empty slot.
void BM_ClipAndSetup(benchmark::State& state)
{
    SheetScene s;
    const TriangleBatch b = s.renderMesh();
    RenderDriver none;
    OwnedRasterTriangle spare;
    for (auto _ : state) {
        for (int i = 0; i < b.count; ++i) {
            const ClipResult r = clipTriangle(*b.triangles[i], spare.triangle, 5.0f, 500.0f);
            if (r.flags & ClipResult::kFirst)
                none.fillBySlot(2, *r.first, s.target, 0);
            if (r.flags & ClipResult::kSecond)
                none.fillBySlot(2, *r.second, s.target, 0);
        }
        benchmark::ClobberMemory();
    }
    perTriangle(state, b.count);
}
BENCHMARK(BM_ClipAndSetup);

// The textured fill of every triangle; camera-space positions are restored
// before each pass (the fills overwrite them), which the time includes.
void BM_Fill(benchmark::State& state)
{
    SheetScene s;
    const TriangleBatch b = s.renderMesh();
    std::vector<float> saved(static_cast<std::size_t>(b.count) * 9);
    for (int i = 0; i < b.count; ++i)
        std::memcpy(&saved[static_cast<std::size_t>(i) * 9], b.triangles[i]->coords, 9 * sizeof(float));
    int stamp = 0;
    for (auto _ : state) {
        for (int i = 0; i < b.count; ++i) {
            std::memcpy(b.triangles[i]->coords, &saved[static_cast<std::size_t>(i) * 9], 9 * sizeof(float));
            s.driver.fillTextured(*b.triangles[i], s.target, stamp);
        }
        stamp = (stamp + 1) & 511;
        if (stamp == 0)
            s.driver.clearDepth();
    }
    perTriangle(state, b.count);
}
BENCHMARK(BM_Fill);

// A whole frame of the sheet through the scene, turning a little each frame.
void BM_SheetFrame(benchmark::State& state)
{
    SheetScene s;
    Scene scene;
    scene.addObject(s.mesh.get());
    scene.setCameraPosition(0, 0, -25);
    double angle = 0.0;
    for (auto _ : state) {
        s.mesh->rotation.z = angle;
        angle += 0.001;
        scene.render(s.target, s.driver, 0.0);
    }
    perTriangle(state, scene.triangleCount());
}
BENCHMARK(BM_SheetFrame)->Unit(benchmark::kMicrosecond);

// The star of the tunnel part: environment-mapped, opaque, camera 25 units
// back, near 2 and far 1000, turning by (t, 0, -t).
void BM_StarFrame(benchmark::State& state)
{
    const std::string data = ZOV_DATA_DIR;
    auto star = loadEnvMappedObject((data + "/star.lwo").c_str(), (data + "/envmap.jpg").c_str(), false);
    Bitmap target(W, H);
    NewRenderDriver driver(target);
    Scene scene;
    scene.near = 2.0f;
    scene.far = 1000.0f;
    scene.addObject(star.get());
    scene.setCameraPosition(0, 0, -25);
    double t = 0.0;
    for (auto _ : state) {
        star->rotation.set(t, 0, -t);
        t += 0.02;
        scene.render(target, driver, t);
    }
    perTriangle(state, scene.triangleCount());
}
BENCHMARK(BM_StarFrame)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zov

BENCHMARK_MAIN();
