#include "raster/NewRenderDriver.h"
#include "tests/raster/FillFixture.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace zov {
namespace {

using rastertest::addressTexel;
using rastertest::ScreenVertex;
using rastertest::screenTriangle;

using rastertest::Fill;

const Fill kPerspectiveFills[] = {&NewRenderDriver::fillPerspective, &NewRenderDriver::fillPerspectiveKeyed,
                                  &NewRenderDriver::fillPerspectiveNoDepth,
                                  &NewRenderDriver::fillPerspectiveFogNoDepth, &NewRenderDriver::fillPerspectiveFog};

class PerspectiveFills : public rastertest::FillFixture {
protected:
    void SetUp() override
    {
        FillFixture::SetUp();
        // Fog only where 1/z is below 0.001 (z beyond 1000).
        setFog(0.002f, 0.001f, 0x00FFFFFFu);
    }

    void setFog(float nearIz, float farIz, std::uint32_t colour)
    {
        driver.fogNear = nearIz;
        driver.fogFar = farIz;
        driver.fogRange = nearIz - farIz;
        driver.fogColour = colour;
    }

    static OwnedRasterTriangle cover(float z, const std::vector<std::uint32_t>& texture)
    {
        const ScreenVertex vs[3] = {{-10, -10, z}, {200, -10, z}, {-10, 200, z}};
        OwnedRasterTriangle t = screenTriangle(W, H, vs);
        t.triangle.textureA = texture.data();
        return t;
    }
};

// Row y of this triangle spans columns 10 .. 10 + y, and the texture
// coordinates equal the screen position, so each pixel shows its own
// address: rows 14 and 15 are spans of 15 and 16 pixels, row 39 one of 40.
TEST_F(PerspectiveFills, RunsAndPartialRunsSampleEveryPixel)
{
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        target.fill(kBackground);
        driver.clearDepth();
        const ScreenVertex vs[3] = {{10, 0, 64, 10, 0}, {50, 40, 64, 50, 40}, {10, 40, 64, 10, 40}};
        OwnedRasterTriangle tri = screenTriangle(W, H, vs);
        tri.triangle.textureA = address.data();
        draw(kPerspectiveFills[f], tri);
        for (int y = 0; y < 40; ++y) {
            EXPECT_EQ(target.pixel(9, y), kBackground) << "row " << y;
            for (int x = 10; x <= 10 + y; ++x)
                ASSERT_EQ(target.pixel(x, y), addressTexel(x, y)) << "row " << y << " column " << x;
            EXPECT_EQ(target.pixel(11 + y, y), kBackground) << "row " << y;
        }
        EXPECT_EQ(target.pixel(10, 40), kBackground);
    }
}

TEST_F(PerspectiveFills, FogLevelsFollowDepth)
{
    const auto texture = rastertest::solidTexture(0x12C08040u);
    struct Case {
        float z;
        std::uint32_t colour;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {5.0f, 0x00FF00FFu, 0x12C08040u},         // 1/z 0.2: no fog
        {200.0f, 0x00FF00FFu, 0x00FF00FFu},       // 1/z 0.005: full fog
        {1.0f / 0.055f, 0x00FF00FFu, 0x12FFFFBFu}, // level 127, brightening
        {1.0f / 0.055f, 0u, 0x12410100u},          // level 127, darkening
        {200.0f, 0u, 0u},
    };
    for (Fill fill : {&NewRenderDriver::fillPerspectiveFog, &NewRenderDriver::fillPerspectiveFogNoDepth})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.z);
            setFog(0.1f, 0.01f, c.colour);
            target.fill(kBackground);
            driver.clearDepth();
            draw(fill, cover(c.z, texture));
            EXPECT_EQ(centre(), c.expected);
        }
    // A range left at 0 between the bounds gives full fog, not an undefined
    // conversion or a level spilling into the next byte.
    driver.fogRange = 0.0f;
    target.fill(kBackground);
    draw(&NewRenderDriver::fillPerspectiveFogNoDepth, cover(1.0f / 0.055f, texture));
    EXPECT_EQ(centre(), 0u);
    // The fog fill with depth writes depth also at full fog.
    setFog(0.1f, 0.01f, 0x00FF00FFu);
    driver.clearDepth();
    draw(&NewRenderDriver::fillPerspectiveFog, cover(200.0f, texture));
    OwnedRasterTriangle farTri = cover(400.0f, texture);
    farTri.triangle.colour = 0x00777777u;
    draw(&NewRenderDriver::fillFlat, farTri);
    EXPECT_EQ(centre(), 0x00FF00FFu);
}

TEST_F(PerspectiveFills, DepthMembersTestAndWriteAsTheyShould)
{
    const auto texture = rastertest::solidTexture(0x00102030u);
    auto nearFlat = [&] {
        OwnedRasterTriangle t = cover(64.0f, texture);
        t.triangle.colour = 0x00AAAAAAu;
        return t;
    };
    // Farther perspective triangles: hidden for the depth members, drawn
    // over for the no-depth ones.
    const std::uint32_t expectedOverNear[] = {0x00AAAAAAu, 0x00AAAAAAu, 0x00102030u, 0x00102030u, 0x00AAAAAAu};
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        driver.clearDepth();
        draw(&NewRenderDriver::fillFlat, nearFlat());
        draw(kPerspectiveFills[f], cover(128.0f, texture));
        EXPECT_EQ(centre(), expectedOverNear[f]);
    }
    // Additive for any non-zero blend; it stores no depth.
    driver.clearDepth();
    target.fill(kBackground);
    OwnedRasterTriangle add = cover(64.0f, texture);
    add.triangle.blend = 3;
    draw(&NewRenderDriver::fillPerspective, add);
    EXPECT_EQ(centre(), 0x10305070u);
    OwnedRasterTriangle behind = cover(128.0f, texture);
    behind.triangle.colour = 0x00ABCDEFu;
    draw(&NewRenderDriver::fillFlat, behind);
    EXPECT_EQ(centre(), 0x00ABCDEFu);
}

TEST_F(PerspectiveFills, KeyedTexelZeroIsAHoleThatStillTakesDepth)
{
    const auto holes = rastertest::makeTexture([](int u, int) { return u < 128 ? 0u : 0x00FFFFFFu; });
    const ScreenVertex vs[3] = {{-10, -10, 64, 0, 0}, {200, -10, 64, 1050, 0}, {-10, 200, 64, 0, 0}};
    OwnedRasterTriangle tri = screenTriangle(W, H, vs);
    tri.triangle.textureA = holes.data();
    draw(&NewRenderDriver::fillPerspectiveKeyed, tri);
    // u = 5 texels per pixel from sx = -10: columns 0..15 are holes, 16..41 white.
    EXPECT_EQ(target.pixel(10, 5), kBackground);
    EXPECT_EQ(target.pixel(30, 5), 0x00FFFFFFu);
    OwnedRasterTriangle farTri = cover(128.0f, holes);
    farTri.triangle.colour = 0x00777777u;
    draw(&NewRenderDriver::fillFlat, farTri);
    EXPECT_EQ(target.pixel(10, 5), kBackground);
    // Two-sided: the mirrored winding is drawn too.
    driver.clearDepth();
    target.fill(kBackground);
    const ScreenVertex back[3] = {vs[0], vs[2], vs[1]};
    OwnedRasterTriangle mirrored = screenTriangle(W, H, back);
    mirrored.triangle.textureA = holes.data();
    draw(&NewRenderDriver::fillPerspectiveKeyed, mirrored);
    EXPECT_EQ(target.pixel(30, 5), 0x00FFFFFFu);
}

TEST_F(PerspectiveFills, BackFacesAndDegenerateTriangles)
{
    const ScreenVertex back[3] = {{-10, -10, 64}, {-10, 200, 64}, {200, -10, 64}};
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        target.fill(kBackground);
        driver.clearDepth();
        OwnedRasterTriangle tri = screenTriangle(W, H, back);
        tri.triangle.textureA = address.data();
        draw(kPerspectiveFills[f], tri);
        EXPECT_EQ(centre() != kBackground, f == 1);
    }
    driver.cullBackFaces = 0;
    OwnedRasterTriangle tri = screenTriangle(W, H, back);
    tri.triangle.textureA = address.data();
    draw(&NewRenderDriver::fillPerspective, tri);
    EXPECT_NE(centre(), kBackground);

    // Tall but inside one pixel column: nothing.
    target.fill(kBackground);
    const ScreenVertex column[3] = {{10.0f, 0, 64}, {10.4f, 40, 64}, {10.2f, 20, 64}};
    for (Fill fill : kPerspectiveFills) {
        OwnedRasterTriangle thin = screenTriangle(W, H, column);
        thin.triangle.textureA = address.data();
        draw(fill, thin);
    }
    EXPECT_EQ(rastertest::countPixels(target, kBackground), W * H);
}

TEST_F(PerspectiveFills, ZoomScalesAroundTheCentre)
{
    const ScreenVertex small[3] = {{24, 16, 64, 0, 0}, {40, 16, 64, 64, 0}, {24, 32, 64, 0, 64}};
    const ScreenVertex large[3] = {{16, 8, 64, 0, 0}, {48, 8, 64, 64, 0}, {16, 40, 64, 0, 64}};
    OwnedRasterTriangle a = screenTriangle(W, H, small);
    a.triangle.textureA = address.data();
    driver.zoom = 2.0f;
    draw(&NewRenderDriver::fillPerspective, a);
    Bitmap expected(W, H);
    expected.fill(kBackground);
    NewRenderDriver plain(expected);
    OwnedRasterTriangle b = screenTriangle(W, H, large);
    b.triangle.textureA = address.data();
    plain.fillPerspective(b.triangle, expected, 0);
    EXPECT_GT(W * H - rastertest::countPixels(target, kBackground), 400);
    EXPECT_EQ(rastertest::pixelHash(target), rastertest::pixelHash(expected));
}

TEST_F(PerspectiveFills, HugeTrianglesAreClippedToTheTarget)
{
    const ScreenVertex shapes[][3] = {
        {{-1e6f, -1e6f, 64, 0, 0}, {1e7f, -1e6f, 64, 3e5f, 0}, {-1e6f, 1e7f, 64, 0, 1e6f}},
        {{-70000, -3e5f, 64}, {63.5f, 48, 64}, {-70000, 4e9f, 64}},
    };
    for (Fill fill : kPerspectiveFills)
        for (const auto& shape : shapes) {
            driver.clearDepth();
            target.fill(0);
            OwnedRasterTriangle tri = screenTriangle(W, H, shape);
            tri.triangle.textureA = address.data();
            draw(fill, tri);
            EXPECT_GT(W * H - rastertest::countPixels(target, 0), W * H / 3);
        }
    // Vertices almost at the eye, with a second one nearly behind it.
    OwnedRasterTriangle nearEye = cover(64.0f, address);
    nearEye.coords[6] = 1e-30f;
    nearEye.coords[7] = 1e-20f;
    for (Fill fill : kPerspectiveFills) {
        OwnedRasterTriangle tri = nearEye;
        draw(fill, tri);
    }
}

} // namespace
} // namespace zov
