#include "engine3d/Camera.h"
#include "engine3d/MeshObject.h"
#include "engine3d/Surface.h"

#include <gtest/gtest.h>

#include <string>

namespace zov {
namespace {

std::unique_ptr<TextureSlot> slotWithPicture()
{
    auto slot = std::make_unique<TextureSlot>();
    slot->bitmap = std::make_unique<Bitmap>(256, 256);
    return slot;
}

// One triangle facing a camera at (0, 0, -11): corner 0 at depth 11.
struct OneTriangle {
    meshSurfaceObject mesh;
    Camera camera;
    std::shared_ptr<PolygonTexture> surface = std::make_shared<PolygonTexture>();

    explicit OneTriangle(int flags, std::uint32_t colour = 0)
    {
        const Vec3 points[3] = {Vec3(0, 0, 0), Vec3(0, 1, 0), Vec3(1, 1, 0)};
        const Vec3 normals[3] = {Vec3(1, 0, 0), Vec3(0, -1, 0), Vec3(0, 0, -1)};
        for (int i = 0; i < 3; ++i)
            mesh.addVertex({points[i], normals[i]});
        surface->flags = flags;
        surface->colour = colour;
        surface->slots[0] = slotWithPicture();
        surface->slots[1] = slotWithPicture();
        auto p = std::make_unique<SurfacePolygon>();
        p->vertexCount = 3;
        p->vertices[1] = 1;
        p->vertices[2] = 2;
        p->texture = surface;
        for (int k = 0; k < 6; ++k)
            p->imageCoords[k] = static_cast<float>(10 + k);
        mesh.addPolygon(std::move(p));
        mesh.scale.set(1, 1, 1);
        mesh.updateMatrix();
        camera.position.set(0, 0, -11);
    }

    RasterTriangle* renderOne()
    {
        const TriangleBatch b = mesh.render(camera, 0.0, 0, nullptr);
        return b.count == 1 ? b.triangles[0] : nullptr;
    }
};

TEST(MeshRender, FlatSurfaceIsLitBytewiseKeepingTheTopByte)
{
    OneTriangle t(0, 0x12FF8040u);
    RasterTriangle* r = t.renderOne();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->typeCode, 0);
    EXPECT_EQ(r->colour, 0x12FE7F3Fu);
    EXPECT_FLOAT_EQ(r->coords[6], 11.0f);

    // Turned away: black, top byte kept.
    t.mesh.rotation.set(0, 3.141592653589793, 0);
    t.mesh.updateMatrix();
    EXPECT_EQ(t.renderOne()->colour, 0x12000000u);
}

TEST(MeshRender, EnvironmentAndImageCoordinates)
{
    OneTriangle env(2);
    RasterTriangle* r = env.renderOne();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->typeCode, 2);
    EXPECT_EQ(r->textureA, env.surface->pixels(1));
    const float expected[6] = {255, 128, 128, 128, 1, 128}; // u0 u1 u2, v0 v1 v2
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(r->uvA[k], expected[k]) << k;

    OneTriangle both(3);
    r = both.renderOne();
    EXPECT_EQ(r->typeCode, 3);
    EXPECT_EQ(r->textureA, both.surface->pixels(0));
    EXPECT_EQ(r->textureB, both.surface->pixels(1));
    const float image[6] = {10, 12, 14, 11, 13, 15};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(r->uvA[k], image[k]) << k;
        EXPECT_EQ(r->uvB[k], expected[k]) << k;
    }
}

TEST(MeshRender, HiddenAndUnsurfacedPolygonsGiveNothing)
{
    OneTriangle t(0);
    t.mesh.setVisible(0, 0);
    EXPECT_EQ(t.mesh.render(t.camera, 0, 0, nullptr).count, 0);
    t.mesh.setVisible(0, 1);
    t.mesh.polygon(0)->texture.reset();
    EXPECT_EQ(t.mesh.render(t.camera, 0, 0, nullptr).count, 0);

    // Flags that name a texture the surface lacks fall back to its colour.
    OneTriangle bare(1, 0x00FFFFFF);
    bare.surface->slots[0].reset();
    EXPECT_EQ(bare.renderOne()->typeCode, 0);
}

TEST(MeshObject, PolygonLimitsAreKeptAndEveryPolygonRenders)
{
    auto owner = std::make_unique<OneTriangle>(0);
    OneTriangle& t = *owner;
    auto bad = std::make_unique<SurfacePolygon>();
    bad->vertexCount = 3;
    bad->vertices[2] = 3; // no such vertex
    EXPECT_EQ(t.mesh.addPolygon(std::move(bad)), -1);

    // Past the old 10000-triangle output: every polygon the import allows.
    testing::internal::CaptureStdout(); // each refused polygon prints when freed
    for (int i = 1; i <= MeshObject::kMaxPolygons; ++i) {
        auto p = std::make_unique<SurfacePolygon>();
        p->vertexCount = 3;
        p->vertices[1] = 1;
        p->vertices[2] = 2;
        p->texture = t.surface;
        EXPECT_EQ(t.mesh.addPolygon(std::move(p)), i < MeshObject::kMaxPolygons ? i : -1);
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(t.mesh.render(t.camera, 0, 0, nullptr).count, MeshObject::kMaxPolygons);
    testing::internal::CaptureStdout();
    owner.reset();
    testing::internal::GetCapturedStdout();
}

TEST(MeshObject, DestructionReleasesASharedSurfaceOnce)
{
    const std::string polygonLines = "about to try imageCoords \nabout to try envCoords \nabout to try bumpCoords \n"
                                     "about to try transpCoords \nabout to try pInfo \n} del surfpoly \n";
    std::string out;
    {
        auto t = std::make_unique<OneTriangle>(0);
        t->surface->slots[1].reset();
        auto second = std::make_unique<SurfacePolygon>();
        second->vertexCount = 3;
        second->vertices[0] = 2;
        second->texture = t->surface;
        t->mesh.addPolygon(std::move(second));
        t->mesh.surfaces().add(t->surface);
        t->surface.reset();
        testing::internal::CaptureStdout();
        t.reset();
        out = testing::internal::GetCapturedStdout();
    }
    const std::string release =
        "now i should delete an image \ndeallocated internal Bitmap buffer \ndone dealocating polygon texture \n";
    EXPECT_EQ(out, "deleted camera rotation matrix \nabout to execute meshSurfaceObject destructor \n" + polygonLines +
                       polygonLines + release + polygonLines + "deallocated TCB list \n");
}

} // namespace
} // namespace zov
