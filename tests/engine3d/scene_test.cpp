#include "engine3d/MeshObject.h"
#include "engine3d/Scene.h"
#include "engine3d/SpriteCloud.h"
#include "tests/engine3d/SceneFakes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counts every allocation of the process, so that a test can watch a window.
namespace {
std::atomic<long> allocations{0};
}
void* operator new(std::size_t n)
{
    ++allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
// Not inlined: seen through, free() after a new-expression looks mismatched
// to the compiler, though this operator new is malloc().
[[gnu::noinline]] void operator delete(void* p) noexcept
{
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace zov {
namespace {

using scenetest::Call;
using scenetest::RecordingDriver;
using scenetest::TriangleSource;

struct SceneFixture : ::testing::Test {
    Bitmap target{64, 48};
    RecordingDriver driver{target};
    Scene scene;
    TriangleSource source;

    void SetUp() override { scene.addObject(&source); }
};

using SceneRender = SceneFixture;

TEST_F(SceneRender, TypeCodesReachTheirSlots)
{
    const struct {
        int typeCode;
        int plain, fog, only, onlyFog;
    } table[] = {
        {0, 1, 1, -1, -1},    {1, 2, 2, -1, -1},    {2, 2, 2, -1, -1},    {3, 4, 4, -1, -1},     {4, -1, -1, -1, -1},
        {5, -1, -1, -1, -1},  {6, 6, 6, -1, -1},    {9, 5, 5, -1, -1},    {10, 5, 5, -1, -1},    {33, 10, 14, 12, 13},
        {34, 10, 14, 12, 13}, {97, 11, 11, -1, -1}, {98, 11, 11, -1, -1}, {255, -1, -1, -1, -1},
    };
    for (const auto& row : table) {
        const int expected[4] = {row.plain, row.fog, row.only, row.onlyFog};
        for (int mode = 0; mode < 4; ++mode) {
            source.triangles.clear();
            source.add(row.typeCode, 20);
            driver.calls.clear();
            scene.drawAllModes = mode < 2;
            scene.fogEnabled = mode % 2;
            scene.render(target, driver, 0.0);
            const int got = driver.calls.empty() ? -1 : driver.calls[0].slot;
            EXPECT_EQ(got, expected[mode]) << "type " << row.typeCode << " mode " << mode;
        }
    }
}

TEST_F(SceneRender, BlendOneFirstThenFarthestFirstStable)
{
    source.add(0, 30);
    source.add(0, 50, 1);
    source.add(0, 10, 8);
    source.add(0, -40); // a negative sum counts as 0: last
    source.add(0, 30, 4);
    source.add(0, 20, 1);
    source.add(0, 80);
    scene.near = -100.0f; // keep the negative one unclipped
    scene.render(target, driver, 0.0);
    const float order[] = {150, 60, 240, 90, 90, 30, -120};
    ASSERT_EQ(driver.calls.size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(driver.calls[i].depthSum, order[i]) << i;

    // Equal keys keep collection order: objects are asked last-added first.
    TriangleSource later;
    later.add(1, 30);
    scene.addObject(&later);
    driver.calls.clear();
    scene.render(target, driver, 0.0);
    EXPECT_EQ(driver.calls[3].typeCode, 1);
}

TEST_F(SceneRender, CounterStampsFillsAndClearsEvery512Frames)
{
    EXPECT_EQ(scene.render(target, driver, 0.0), 1);
    EXPECT_EQ(driver.clears, 1);
    for (int i = 1; i < 512; ++i)
        scene.render(target, driver, 0.0);
    EXPECT_EQ(scene.frameCounter(), 512);
    EXPECT_EQ(driver.clears, 1);
    source.add(0, 20);
    EXPECT_EQ(scene.render(target, driver, 0.0), 1);
    EXPECT_EQ(driver.clears, 2);
    EXPECT_EQ(driver.calls.back().stamp, 0);
}

TEST_F(SceneRender, LimitsAndMissingPiecesAreHandled)
{
    for (int i = 0; i < Scene::kMaxTriangles + 50; ++i)
        source.add(0, 20);
    scene.render(target, driver, 0.0);
    EXPECT_EQ(scene.triangleCount(), Scene::kMaxTriangles);
    EXPECT_EQ(driver.calls.size(), static_cast<std::size_t>(Scene::kMaxTriangles));

    source.returnNone = true;
    driver.calls.clear();
    scene.render(target, driver, 0.0);
    EXPECT_EQ(scene.triangleCount(), 0);

    EXPECT_EQ(scene.camera(-1), nullptr);
    EXPECT_EQ(scene.camera(4), nullptr);
    scene.currentCamera = 7;
    const int before = scene.frameCounter();
    EXPECT_EQ(scene.render(target, driver, 0.0), before);
    scene.setCameraPosition(1, 2, 3); // nothing to move; must not crash

    Scene full;
    for (int i = 0; i < Scene::kMaxObjects; ++i)
        EXPECT_EQ(full.addObject(&source), 0);
    EXPECT_EQ(full.addObject(&source), -1);
    EXPECT_EQ(full.objectCount(), Scene::kMaxObjects);
}

TEST_F(SceneRender, AnimatesOnlyWhatIsSwitchedOn)
{
    TcbList path;
    path.add({Vec3(0, 0, 0), 0.0, 0});
    path.add({Vec3(30, 0, 0), 30.0, 1});
    source.positionChannel.list = &path;
    source.position.set(-1, 0, 0);
    scene.render(target, driver, 1.0); // key time 15
    EXPECT_EQ(source.position.x, -1.0);
    source.animationOff = 0;
    scene.render(target, driver, 1.0);
    EXPECT_EQ(source.position.x, 15.0);

    scene.camera(0)->positionChannel.list = &path;
    scene.camera(0)->animated = 1;
    scene.render(target, driver, 0.5);
    EXPECT_NEAR(scene.camera(0)->position.x, 7.0, 1e-5);
}

TEST_F(SceneRender, SpriteCloudsDrawAfterTrianglesThroughTheCamera)
{
    Bitmap glow(64, 64);
    glow.fill(0x00404040);
    SpriteCloud cloud(&glow, 4, 4);
    cloud.addVertex({Vec3(0, 0, 0), Vec3(0, 0, 0)});
    scene.addObject(&cloud);
    scene.setCameraPosition(0, 0, -20);
    Bitmap frame(256, 192);
    NewRenderDriver real(frame);
    scene.render(frame, real, 0.0);
    EXPECT_EQ(frame.pixel(128, 96), 0x00404040u);
    EXPECT_EQ(frame.pixel(2, 2), 0u);
}

TEST_F(SceneRender, AFrameAllocatesNothing)
{
    for (int i = 0; i < 50; ++i)
        source.add(i % 2 ? 2 : 33, 3.0f + static_cast<float>(i)); // some cut at near
    Bitmap glow(64, 64);
    SpriteCloud cloud(&glow, 4, 4);
    cloud.addVertex({Vec3(0, 0, 0), Vec3(0, 0, 0)});
    scene.addObject(&cloud);
    meshSurfaceObject mesh;
    for (int i = 0; i < 3; ++i)
        mesh.addVertex({Vec3(i, i * i, 1), Vec3(0, 0, -1)});
    auto polygon = std::make_unique<SurfacePolygon>();
    polygon->vertexCount = 3;
    polygon->vertices[1] = 1;
    polygon->vertices[2] = 2;
    polygon->texture = std::make_shared<PolygonTexture>();
    mesh.addPolygon(std::move(polygon));
    scene.addObject(&mesh);
    scene.setCameraPosition(0, 0, -20);
    Bitmap frame(256, 192);
    NewRenderDriver real(frame); // the recording one keeps a list
    scene.render(frame, real, 0.0);
    const long before = allocations;
    for (int i = 0; i < 3; ++i)
        scene.render(frame, real, 0.1 * i);
    EXPECT_EQ(allocations - before, 0);
}

} // namespace
} // namespace zov
