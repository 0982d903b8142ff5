// Reference pictures of whole objects through the scene pipeline: the kit's
// star environment-mapped as the show draws it, the kit's cube with its own
// surfaces, and two real objects (several surfaces; quads), each at two
// rotations, compared by a hash of their pixels with reference/hashes.txt;
// and rings cut from one concave polygon, which must show their hole.
// A changed hash means changed output: look at the pictures, and when the
// change is intended regenerate table and pictures with
//   ZOV_UPDATE_REFERENCE=1 ./lwo_reference_test
// (writes tests/lwo/reference/*.png and hashes.txt in the source tree).
#include "engine3d/Scene.h"
#include "image/PngWriter.h"
#include "lwo/ObjectBuilder.h"
#include "raster/NewRenderDriver.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

constexpr int W = 256;
constexpr int H = 192;

const std::string kReferenceDir = std::string(ZOV_SOURCE_DIR) + "/tests/lwo/reference";

struct Pose {
    const char* suffix;
    double rx, ry, rz;
};
constexpr Pose kPoses[2] = {{"a", 0.5, 0.7, 0.0}, {"b", 0.3, 3.6, 0.2}};

// Points moved to their centre and scaled to a radius of 10, so that every
// object fills the view of a camera 30 units away.
LwoObjectData centred(LwoObjectData data)
{
    Vec3 lo = data.points.empty() ? Vec3(0, 0, 0) : data.points[0], hi = lo;
    for (const Vec3& p : data.points) {
        lo.set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi.set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    const Vec3 mid((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2);
    double radius = 0;
    for (const Vec3& p : data.points)
        radius = std::max(radius, p.minus(mid).length());
    const double k = radius > 0 ? 10.0 / radius : 1.0;
    for (Vec3& p : data.points)
        p.set((p.x - mid.x) * k, (p.y - mid.y) * k, (p.z - mid.z) * k);
    return data;
}

struct ObjectView {
    std::unique_ptr<meshSurfaceObject> mesh;
    double cameraZ;
    float near;
    float far;
};

// The object at one rotation through a fresh scene, on a dark background.
std::uint32_t renderObject(const ObjectView& s, const Pose& pose, Bitmap& target)
{
    target.fill(0x00101018);
    NewRenderDriver driver(target);
    Scene scene;
    scene.near = s.near;
    scene.far = s.far;
    scene.addObject(s.mesh.get());
    scene.setCameraPosition(0, 0, s.cameraZ);
    s.mesh->rotation.set(pose.rx, pose.ry, pose.rz);
    scene.render(target, driver, 0.0);
    return rastertest::pixelHash(target);
}

class ObjectReference : public ::testing::Test {
protected:
    static void TearDownTestSuite()
    {
        if (update())
            reference::writeHashes(kReferenceDir, fresh());
    }

    static bool update() { return reference::updating(); }
    static reference::HashTable& fresh()
    {
        static reference::HashTable hashes = reference::readHashes(kReferenceDir);
        return hashes;
    }

    void check(const std::string& name, ObjectView setup)
    {
        testing::internal::CaptureStdout(); // loading and destruction lines
        for (const Pose& pose : kPoses) {
            Bitmap target(W, H);
            const std::string picture = name + "-" + pose.suffix;
            const std::uint32_t hash = renderObject(setup, pose, target);
            if (update()) {
                fresh()[picture] = hash;
                ASSERT_TRUE(writePng(target, kReferenceDir + "/" + picture + ".png"));
                continue;
            }
            const auto it = fresh().find(picture);
            ASSERT_NE(it, fresh().end()) << "no reference hash for " << picture;
            EXPECT_EQ(hash, it->second) << picture << " changed; see the comment at the top of this file";
        }
        setup.mesh.reset();
        testing::internal::GetCapturedStdout();
    }
};

// The kit's objects name their pictures as data/..., beside the programs.
struct InProgramFolder {
    fs::path before = fs::current_path();
    InProgramFolder() { fs::current_path(fs::path(ZOV_DATA_DIR).parent_path()); }
    ~InProgramFolder() { fs::current_path(before); }
};

TEST_F(ObjectReference, KitStarEnvironmentMapped)
{
    if (!fs::exists(fs::path(ZOV_DATA_DIR) / "star.lwo"))
        GTEST_SKIP() << "no kit data";
    InProgramFolder here;
    // The show's scene (near 2, far 1000, opaque), the camera closer than its
    // 25 units so that the star fills the picture.
    check("star", {loadEnvMappedObject("data/star.lwo", "data/envmap.jpg", false), -6.0, 2.0f, 1000.0f});
}

TEST_F(ObjectReference, KitCubeWithItsSurfaces)
{
    if (!fs::exists(fs::path(ZOV_DATA_DIR) / "testkub.lwo"))
        GTEST_SKIP() << "no kit data";
    InProgramFolder here;
    LwoReader reader;
    reader.read("data/testkub.lwo");
    check("testkub", {buildObject(reader.result()), -40.0, 5.0f, 500.0f});
}

TEST_F(ObjectReference, CorpusObjects)
{
    // penguin: four surfaces whose SURF chunks come in another order than
    // their names; alien: mostly quads, and images that do not exist.
    for (const char* name : {"penguin", "alien"}) {
        const fs::path path = fs::path(ZOV_CORPUS_DIR) / "lwo" / (std::string(name) + ".lwo");
        if (!fs::exists(path))
            GTEST_SKIP() << "no corpus file " << path;
        LwoReader reader;
        reader.read(path.c_str());
        check(name, {buildObject(centred(reader.result())), -30.0, 2.0f, 1000.0f});
    }
}

// A polygon with a hole, its outline joined to the hole by a seam there and
// back, faced to the camera: the hole shows the background, the ring left and
// right of it is drawn.
TEST(ConcaveObject, RingKeepsItsHole)
{
    LwoObjectData square;
    for (const auto& [x, y] :
         {std::pair{10, 0}, {10, 10}, {-10, 10}, {-10, -10}, {10, -10}, {5, 0}, {5, -5}, {-5, -5}, {-5, 5}, {5, 5}})
        square.points.emplace_back(x, y, 0);
    square.polygons.push_back({{0, 1, 2, 3, 4, 0, 5, 6, 7, 8, 9, 5}, -1, 1});
    struct Ring {
        std::string name;
        LwoObjectData data;
        double turnY; // radians that face it to the camera
    };
    std::vector<Ring> rings{{"square ring", square, 2 * std::acos(0.0)}};
    const fs::path corpus = fs::path(ZOV_CORPUS_DIR) / "lwo" / "ConcavePolygon.lwo";
    if (fs::exists(corpus)) {
        LwoReader reader;
        reader.read(corpus.c_str());
        rings.push_back({corpus.string(), reader.result(), std::acos(0.0)});
    }
    constexpr std::uint32_t kBackground = 0x00101018;
    for (Ring& ring : rings) {
        testing::internal::CaptureStdout();
        Bitmap target(W, H);
        renderObject({buildObject(centred(ring.data)), -30.0, 2.0f, 1000.0f}, {"", 0, ring.turnY, 0}, target);
        testing::internal::GetCapturedStdout();
        const std::uint32_t* row = target.row(H / 2);
        EXPECT_EQ(row[W / 2] & 0xFFFFFF, kBackground) << ring.name;
        const auto drawn = [&](int from, int to) {
            return std::any_of(row + from, row + to, [&](std::uint32_t p) { return (p & 0xFFFFFF) != kBackground; });
        };
        EXPECT_TRUE(drawn(0, W / 2)) << ring.name;
        EXPECT_TRUE(drawn(W / 2, W)) << ring.name;
    }
}

} // namespace
} // namespace zov
