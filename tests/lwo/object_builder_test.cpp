#include "engine3d/Camera.h"
#include "lwo/ObjectBuilder.h"
#include "tests/image/RecordingSink.h"
#include "tests/lwo/LwobBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace zov {
namespace {

using namespace zov::test;
namespace fs = std::filesystem;

// Four points of a unit square in z = 0 (and one more for a pentagon).
Bytes squarePoints()
{
    return chunk("PNTS", floats({-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0, 0, 2, 0}));
}

Bytes surface(const std::string& surfaceName, const Bytes& subChunks = {})
{
    return chunk("SURF", name(surfaceName) + subChunk("COLR", {10, 20, 30, 0}) + subChunks);
}

Bytes planarTexture(const std::string& type, const std::string& image, int flags, float size)
{
    return subChunk("CTEX", name(type)) + subChunk("TFLG", u16s({flags})) +
           subChunk("TSIZ", floats({size, size, size})) + subChunk("TCTR", floats({0, 0, 0})) +
           subChunk("TIMG", name(image));
}

std::unique_ptr<meshSurfaceObject> build(const Bytes& file, std::string* printed = nullptr)
{
    LwoReader reader;
    EXPECT_TRUE(reader.parse(file.data(), file.size()));
    testing::internal::CaptureStdout();
    auto mesh = buildObject(reader.result());
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed)
        *printed = out;
    return mesh;
}

const std::string kPicture = std::string(ZOV_DATA_DIR) + "/envmap.jpg";

TEST(BuildObject, PolygonsBecomeFansOnTheirSurfaces)
{
    const Bytes file = test::lwob(squarePoints() + chunk("SRFS", name("Red") + name("red") + name("Blue")) +
                                  chunk("POLS", u16s({5, 0, 1, 2, 4, 3, 1, 3, 0, 1, 2, 2})) + surface("Red") +
                                  surface("red") + surface("Blue"));
    std::string printed;
    auto mesh = build(file, &printed);
    EXPECT_EQ(printed, "this scene already has a surface called red\ndeleted object \n");
    EXPECT_EQ(mesh->surfaces().count(), 2);
    ASSERT_EQ(mesh->polygonCount(), 4); // a pentagon's fan of three, one triangle
    const int fan[3][3] = {{0, 1, 2}, {0, 2, 4}, {0, 4, 3}};
    for (int t = 0; t < 3; ++t)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(mesh->polygon(t)->vertex(k), fan[t][k]);
    EXPECT_EQ(mesh->polygon(0)->texture->name, "Red");
    EXPECT_EQ(mesh->polygon(3)->texture->name, "Red"); // "red" found the first of the name
    EXPECT_EQ(mesh->polygon(0)->texture->colour, 0x0A141Eu);
    EXPECT_EQ(mesh->scale.x, 1.0);
}

TEST(BuildObject, PolygonWithoutSurfaceGetsThePlainDefault)
{
    auto mesh = build(test::lwob(squarePoints() + chunk("POLS", u16s({3, 0, 1, 2, 7}))));
    ASSERT_EQ(mesh->polygonCount(), 1);
    EXPECT_EQ(mesh->polygon(0)->texture->flags, 0);
    EXPECT_EQ(mesh->polygon(0)->texture->colour, 0xC8C8C8u);
}

TEST(MapCoordinates, PlanarProjectsAlongItsAxisAndOtherwiseKeepsRandomValues)
{
    TextureSlot slot;
    slot.axis = 2;
    slot.size.set(2, 2, 2);
    MappingRandom random;
    TexelPair uv = mapCoordinates(&slot, 1, 1, 0, random);
    EXPECT_EQ(uv.u, 255.0f);
    EXPECT_EQ(uv.v, -255.0f);
    uv = mapCoordinates(&slot, -1, -1, 0, random);
    EXPECT_EQ(uv.u, 0.0f);
    EXPECT_EQ(uv.v, 0.0f);

    // Cylindrical, a size of 0 and no slot: whole random texels, the same
    // sequence for every object.
    TextureSlot flat;
    flat.axis = 2;
    TextureSlot cylinder;
    cylinder.size.set(2, 2, 2);
    cylinder.mapType = 2;
    MappingRandom a, b;
    for (const TextureSlot* s : {&flat, &cylinder, static_cast<TextureSlot*>(nullptr)}) {
        const TexelPair p = mapCoordinates(s, 1, 1, 0, a), q = mapCoordinates(s, 1, 1, 0, b);
        EXPECT_EQ(p.u, q.u);
        EXPECT_EQ(p.v, q.v);
        EXPECT_TRUE(p.u >= 0 && p.u <= 255 && p.u == std::floor(p.u));
    }
}

TEST(BuildObject, ImageSurfacesAreMappedAndUnloadableImagesLeaveTheColour)
{
    if (!std::filesystem::exists(kPicture))
        GTEST_SKIP() << "no kit picture " << kPicture;
    const Bytes pols = chunk("POLS", u16s({3, 0, 1, 2, 1, 3, 0, 2, 3, 2}));
    const Bytes file =
        test::lwob(squarePoints() + pols + surface("Pictured", planarTexture("Planar Image Map", kPicture, 4, 2)) +
                   surface("Lost", planarTexture("Planar Image Map", "data/nowhere.jpg", 4, 2)));
    std::string printed;
    test::RecordingSink problems;
    auto mesh = build(file, &printed);
    // The loader is named once the name chooses it, before the file is read.
    EXPECT_EQ(printed, "trying to load " + kPicture +
                           " with loader number 1. \ntrying to load data/nowhere.jpg with loader number 1. \n"
                           "deleted object \n");
    EXPECT_EQ(problems.lines,
              std::vector<std::string>{"data/nowhere.jpg: no such file; the surface keeps its colour"});
    const SurfacePolygon& mapped = *mesh->polygon(0);
    EXPECT_EQ(mapped.texture->flags, 0x21);
    EXPECT_EQ(mapped.texture->slots[0]->axis, 2);
    const float corners[6] = {0, 0, 255, 0, 255, -255}; // (-1,-1), (1,-1), (1,1)
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(mapped.imageCoords[k], corners[k]) << k;
    EXPECT_EQ(mesh->polygon(1)->texture->flags, 0);
    EXPECT_EQ(mesh->polygon(1)->texture->slots[0], nullptr);
}

TEST(LoadEnvMappedObject, OneAdditiveEnvironmentSurfaceWithSmoothNormals)
{
    const std::string star = std::string(ZOV_DATA_DIR) + "/star.lwo";
    if (!std::filesystem::exists(star) || !std::filesystem::exists(kPicture))
        GTEST_SKIP() << "no kit data in " << ZOV_DATA_DIR;
    testing::internal::CaptureStdout();
    auto mesh = loadEnvMappedObject(star.c_str(), kPicture.c_str(), true);
    testing::internal::GetCapturedStdout();
    ASSERT_GT(mesh->polygonCount(), 0);
    const PolygonTexture& e = *mesh->polygon(0)->texture;
    EXPECT_EQ(e.flags, PolygonTexture::kEnvironmentMap);
    EXPECT_EQ(e.blend, 8);
    EXPECT_NE(e.pixels(1), nullptr);
    for (int i = 0; i < mesh->polygonCount(); ++i)
        ASSERT_EQ(mesh->polygon(i)->texture.get(), &e);
    for (int v = 0; v < mesh->vertexCount(); ++v) {
        const double len = mesh->sourceVertex(v)->normal.length();
        EXPECT_TRUE(len == 0.0 || std::abs(len - 1.0) < 1e-9) << v;
    }
}

TEST(BuildObject, EveryCorpusObjectBuildsAndRenders)
{
    const fs::path folder = fs::path(ZOV_CORPUS_DIR) / "lwo";
    if (!fs::exists(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    for (const auto& entry : fs::directory_iterator(folder)) {
        LwoReader reader;
        reader.read(entry.path().c_str());
        const LwoObjectData& data = reader.result();
        std::size_t triangles = 0;
        for (const LwoPolygon& p : data.polygons)
            triangles += p.indices.size() - 2;
        testing::internal::CaptureStdout();
        auto mesh = buildObject(data);
        Camera camera;
        camera.position.set(0, 0, -10);
        mesh->updateMatrix();
        const TriangleBatch batch = mesh->render(camera, 0.0, 0, nullptr);
        mesh.reset();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(static_cast<std::size_t>(batch.count), triangles) << entry.path();
    }
}

} // namespace
} // namespace zov
