#include "raster/NewRenderDriver.h"
#include "raster/PixelOps.h"
#include "tests/raster/FillFixture.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace zov {
namespace {

using rastertest::ScreenVertex;
using rastertest::screenTriangle;

using rastertest::Fill;

class EdgeFills : public rastertest::FillFixture {
protected:
    // Covers the whole target at depth z, texture coordinates constant.
    static OwnedRasterTriangle cover(float z, float u = 0.0f, float v = 0.0f)
    {
        const ScreenVertex vs[3] = {{-10, -10, z, u, v}, {200, -10, z, u, v}, {-10, 200, z, u, v}};
        return screenTriangle(W, H, vs);
    }
};

TEST_F(EdgeFills, NearerOpaqueWinsAndEqualDepthKeepsTheFirst)
{
    OwnedRasterTriangle nearTri = cover(64.0f), farTri = cover(128.0f);
    nearTri.triangle.colour = 0xAAu;
    farTri.triangle.colour = 0xBBu;

    draw(&NewRenderDriver::fillFlat, farTri);
    draw(&NewRenderDriver::fillFlat, nearTri);
    EXPECT_EQ(rastertest::countPixels(target, 0xAAu), W * H);

    driver.clearDepth();
    draw(&NewRenderDriver::fillFlat, nearTri);
    draw(&NewRenderDriver::fillFlat, farTri);
    EXPECT_EQ(rastertest::countPixels(target, 0xAAu), W * H);

    // Same depth value: strictly greater is needed to pass.
    OwnedRasterTriangle again = cover(64.0f);
    again.triangle.colour = 0xCCu;
    draw(&NewRenderDriver::fillFlat, again);
    EXPECT_EQ(rastertest::countPixels(target, 0xAAu), W * H);

    // A later stamp puts even a farther triangle in front.
    draw(&NewRenderDriver::fillFlat, farTri, 1);
    EXPECT_EQ(rastertest::countPixels(target, 0xBBu), W * H);
}

TEST_F(EdgeFills, AdditiveAddsWhereVisibleAndStoresNoDepth)
{
    // Opaque near over the left half, then an additive far triangle.
    const ScreenVertex half[3] = {{-10, -10, 64}, {32, -10, 64}, {-10, 200, 64}};
    OwnedRasterTriangle opaque = screenTriangle(W, H, half);
    opaque.triangle.colour = 0x00000080u;
    OwnedRasterTriangle add = cover(128.0f);
    add.triangle.colour = 0x20202020u;
    add.triangle.blend = 8;
    draw(&NewRenderDriver::fillFlat, opaque);
    draw(&NewRenderDriver::fillFlat, add);
    EXPECT_EQ(target.pixel(2, 2), 0x00000080u);
    EXPECT_EQ(target.pixel(W - 2, 2), 0x30405060u);

    // Additive in front, then an opaque triangle behind it: the opaque one
    // still overwrites, the additive one left no depth.
    driver.clearDepth();
    target.fill(kBackground);
    OwnedRasterTriangle addNear = cover(64.0f);
    addNear.triangle.colour = 0xF0F0F0F0u;
    addNear.triangle.blend = 8;
    draw(&NewRenderDriver::fillFlat, addNear);
    EXPECT_EQ(centre(), 0xFFFFFFFFu);
    OwnedRasterTriangle behind = cover(128.0f);
    behind.triangle.colour = 0x00123456u;
    draw(&NewRenderDriver::fillFlat, behind);
    EXPECT_EQ(centre(), 0x00123456u);
}

struct BlendCase {
    Fill fill;
    std::uint8_t blend;
    std::uint8_t transparency;
    std::uint32_t expected; // over kBackground; texel A = 0x80604020, B = 0x01010101
    bool writesDepth;
};

TEST_F(EdgeFills, EachFillHonoursOrRefusesItsBlendValues)
{
    const auto texA = rastertest::solidTexture(0x80604020u);
    const auto texB = rastertest::solidTexture(0x01010101u);
    const auto mask0 = rastertest::solidTexture(0xFFFFFF00u);
    const auto bump0 = rastertest::solidTexture(0u);
    const std::uint32_t bg = kBackground, a = 0x80604020u;
    const std::uint32_t avg = 0x48403830u; // halves added
    const std::uint32_t w64 = pixelops::blendReference(bg, a, 64); // weighted
    const std::uint32_t add = 0x90807060u; // bg + A
    const BlendCase cases[] = {
        {&NewRenderDriver::fillFlat, 0, 0, 0xFFABCDEFu, true},
        {&NewRenderDriver::fillFlat, 8, 0, 0xFFCBFDFFu, false},
        {&NewRenderDriver::fillFlat, 4, 0, bg, false},
        {&NewRenderDriver::fillTextured, 0, 0, a, true},
        {&NewRenderDriver::fillTextured, 8, 0, add, false},
        {&NewRenderDriver::fillTextured, 4, 0, a, true},
        {&NewRenderDriver::fillTextured, 4, 128, avg, false},
        {&NewRenderDriver::fillTextured, 4, 127, avg, false},
        {&NewRenderDriver::fillTextured, 4, 64, w64, false},
        {&NewRenderDriver::fillTextured, 4, 255, bg, false},
        {&NewRenderDriver::fillTextureEnvAdd, 0, 0, 0x81614121u, true},
        {&NewRenderDriver::fillTextureEnvAdd, 8, 0, bg, false},
        {&NewRenderDriver::fillTextureMasked, 0, 0, a, false},
        {&NewRenderDriver::fillTextureMasked, 8, 0, a, false},
        {&NewRenderDriver::fillBumpEnv, 0, 0, 0x01010101u, true},
        {&NewRenderDriver::fillBumpEnv, 4, 0, bg, false},
        {&NewRenderDriver::fillGouraud, 0, 0, 0x0055CCEEu, true},
        {&NewRenderDriver::fillGouraud, 8, 0, bg, false},
        {&NewRenderDriver::fillGouraudTextured, 0, 0, 0x00303F1Fu, true},
        {&NewRenderDriver::fillGouraudTextured, 8, 0, bg, false},
    };
    int i = 0;
    for (const BlendCase& c : cases) {
        SCOPED_TRACE(i++);
        driver.clearDepth();
        target.fill(bg);
        OwnedRasterTriangle tri = cover(64.0f);
        RasterTriangle& r = tri.triangle;
        r.colour = 0xFFABCDEFu;
        r.blend = c.blend;
        r.transparency = c.transparency;
        r.textureA = texA.data();
        r.textureB = texB.data();
        r.textureC = bump0.data();
        r.textureD = mask0.data();
        for (int k = 0; k < 3; ++k) {
            tri.shades[k] = 128;     // red
            tri.shades[3 + k] = 256; // green, clamped to 255
            tri.shades[6 + k] = 255; // blue
        }
        draw(c.fill, tri);
        EXPECT_EQ(centre(), c.expected);

        // Depth written, or not: a farther opaque triangle drawn next.
        OwnedRasterTriangle farTri = cover(128.0f);
        farTri.triangle.colour = 0x00777777u;
        draw(&NewRenderDriver::fillFlat, farTri);
        EXPECT_EQ(centre() != 0x00777777u, c.writesDepth);
    }
}

TEST_F(EdgeFills, TextureCoordinatesWrapBothWays)
{
    OwnedRasterTriangle tri = cover(64.0f, 300.0f, 10.0f);
    tri.triangle.textureA = address.data();
    draw(&NewRenderDriver::fillTextured, tri);
    EXPECT_EQ(centre(), rastertest::addressTexel(44, 10));

    driver.clearDepth();
    OwnedRasterTriangle neg = cover(64.0f, -20.0f, -1.0f);
    neg.triangle.textureA = address.data();
    draw(&NewRenderDriver::fillTextured, neg);
    // trunc(-20 * 65536) = -20.0 exactly: column 236; -1.0: row 255.
    EXPECT_EQ(centre(), rastertest::addressTexel(236, 255));
}

TEST_F(EdgeFills, MaskBoundaryAndNoDepthWrite)
{
    const auto tex = rastertest::solidTexture(0x00FF0000u);
    for (std::uint32_t m : {0u, 1u, 249u, 250u, 255u}) {
        SCOPED_TRACE(m);
        driver.clearDepth();
        target.fill(0x000000FFu);
        const auto mask = rastertest::solidTexture(0x12345600u | m);
        OwnedRasterTriangle tri = cover(64.0f);
        tri.triangle.textureA = tex.data();
        tri.triangle.textureD = mask.data();
        draw(&NewRenderDriver::fillTextureMasked, tri);
        const std::uint32_t expected =
            m >= 250 ? 0x000000FFu : (m == 0 ? 0x00FF0000u : pixelops::blendReference(0x000000FFu, 0x00FF0000u, m));
        EXPECT_EQ(centre(), expected);
        if (m == 249) {
            EXPECT_EQ(centre(), 0x000500F8u);
        }
    }
    // Hidden by nearer geometry drawn before it.
    driver.clearDepth();
    target.fill(0);
    OwnedRasterTriangle nearTri = cover(64.0f);
    nearTri.triangle.colour = 0x00444444u;
    draw(&NewRenderDriver::fillFlat, nearTri);
    const auto mask = rastertest::solidTexture(0u);
    OwnedRasterTriangle masked = cover(128.0f);
    masked.triangle.textureA = tex.data();
    masked.triangle.textureD = mask.data();
    draw(&NewRenderDriver::fillTextureMasked, masked);
    EXPECT_EQ(centre(), 0x00444444u);
}

TEST_F(EdgeFills, BumpMovesTheEnvironmentLookupAndWraps)
{
    struct Case {
        std::uint32_t bump;
        float eu, ev;
        int col, row;
    };
    const Case cases[] = {
        {0x00000000u, 10, 20, 10, 20}, // no displacement
        {0xFF340000u, 10, 20, 14, 20}, // red 52: 260 columns, 4 after the wrap
        {0x00000003u, 10, 20, 10, 35}, // blue 3: 15 rows
        {0x0002FF00u, 250, 250, 4, 250}, // green is not read; 250 + 10 wraps to 4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bump);
        driver.clearDepth();
        const auto bump = rastertest::solidTexture(c.bump);
        OwnedRasterTriangle tri = cover(64.0f, c.eu, c.ev);
        for (int k = 0; k < 6; ++k)
            tri.uv[2][k] = 77.0f; // bump coordinates: any, the bump texture is solid
        tri.triangle.textureB = address.data();
        tri.triangle.textureC = bump.data();
        draw(&NewRenderDriver::fillBumpEnv, tri);
        EXPECT_EQ(centre(), rastertest::addressTexel(c.col, c.row));
    }
}

TEST_F(EdgeFills, BackFacesAreCulledOnlyForOpaqueTextures)
{
    const ScreenVertex back[3] = {{-10, -10, 64}, {-10, 200, 64}, {200, -10, 64}};
    OwnedRasterTriangle tri = screenTriangle(W, H, back);
    tri.triangle.textureA = address.data();
    draw(&NewRenderDriver::fillTextured, tri);
    EXPECT_EQ(centre(), kBackground);
    tri.triangle.blend = 8;
    draw(&NewRenderDriver::fillTextured, tri);
    EXPECT_NE(centre(), kBackground);
    target.fill(kBackground);
    tri.triangle.colour = 0x55u;
    draw(&NewRenderDriver::fillFlat, tri);
    EXPECT_EQ(centre(), kBackground + 0x55u);
}

// The walk's integer rule on one small triangle: 16.16 steps truncated
// toward zero, spans from floor(left) to floor(right) - 1, the bottom
// scanline not drawn.
TEST_F(EdgeFills, ScanlinesFollowTheFixedPointRule)
{
    const ScreenVertex vs[3] = {{2, 1, 64}, {10, 1, 64}, {2, 6, 64}};
    OwnedRasterTriangle tri = screenTriangle(W, H, vs);
    tri.triangle.colour = 0xFFu;
    draw(&NewRenderDriver::fillFlat, tri);
    const int expected[] = {0, 8, 6, 4, 3, 1, 0};
    for (int y = 0; y <= 6; ++y) {
        int n = 0;
        for (int x = 0; x < W; ++x)
            n += target.pixel(x, y) == 0xFFu;
        EXPECT_EQ(n, expected[y]) << "row " << y;
        if (expected[y] > 0) {
            EXPECT_EQ(target.pixel(2, y), 0xFFu);
        }
    }
    // Three sy in one integer row: no scanline at all.
    const ScreenVertex flat[3] = {{2, 9.1f, 64}, {30, 9.9f, 64}, {5, 9.5f, 64}};
    OwnedRasterTriangle thin = screenTriangle(W, H, flat);
    thin.triangle.colour = 0xEEu;
    draw(&NewRenderDriver::fillFlat, thin);
    EXPECT_EQ(rastertest::countPixels(target, 0xEEu), 0);
}

// Triangles far past every edge, with vertices far beyond the 16.16 range
// of 32-bit integers, and vertices almost at the eye: exactly the target is
// covered and nothing outside it is touched (the sanitizer build checks the
// latter).
TEST_F(EdgeFills, HugeTrianglesAreClippedToTheTarget)
{
    const Fill fills[] = {&NewRenderDriver::fillFlat,        &NewRenderDriver::fillTextured,
                          &NewRenderDriver::fillTextureEnvAdd, &NewRenderDriver::fillTextureMasked,
                          &NewRenderDriver::fillBumpEnv,     &NewRenderDriver::fillGouraud,
                          &NewRenderDriver::fillGouraudTextured};
    const auto mask = rastertest::solidTexture(0u);
    const auto white = rastertest::solidTexture(0x00FFFFFFu);
    const ScreenVertex shapes[][3] = {
        {{-1e6f, -1e6f, 64}, {1e7f, -1e6f, 64}, {-1e6f, 1e7f, 64}},
        {{0, 0, 64}, {70000, 0, 64}, {0, 480, 64}},
        {{-70000, -3e5f, 64}, {63.5f, 48, 64}, {-70000, 4e9f, 64}},
    };
    for (int f = 0; f < 7; ++f) {
        const Fill fill = fills[f];
        SCOPED_TRACE(f);
        for (const auto& shape : shapes) {
            driver.clearDepth();
            target.fill(0);
            OwnedRasterTriangle tri = screenTriangle(W, H, shape);
            tri.triangle.colour = 0x00FFFFFFu;
            tri.triangle.textureA = tri.triangle.textureB = white.data();
            tri.triangle.textureC = tri.triangle.textureD = mask.data();
            for (int k = 0; k < 9; ++k)
                tri.shades[k] = 255;
            draw(fill, tri);
            int drawn = W * H - rastertest::countPixels(target, 0);
            SCOPED_TRACE(&shape - shapes);
            if (&shape == &shapes[0] || &shape == &shapes[1]) {
                EXPECT_EQ(drawn, W * H);
            } else {
                EXPECT_GT(drawn, W * H / 3);
            }
        }
    }

    // A vertex almost at the eye projects far beyond any 32-bit range.
    OwnedRasterTriangle nearEye = cover(64.0f);
    nearEye.coords[6] = 1e-30f;
    nearEye.coords[0] = 1.0f;
    nearEye.triangle.colour = 0x99u;
    target.fill(0);
    driver.clearDepth();
    draw(&NewRenderDriver::fillFlat, nearEye);
    // A vertex at z = 0 cannot be projected: the triangle is dropped.
    OwnedRasterTriangle atEye = cover(64.0f);
    atEye.coords[6] = 0.0f;
    atEye.triangle.colour = 0x77u;
    draw(&NewRenderDriver::fillFlat, atEye);
    EXPECT_EQ(rastertest::countPixels(target, 0x77u), 0);
}

TEST_F(EdgeFills, GouraudInterpolatesIntensities)
{
    // Red rises from 0 at the left to 255 at the right across the span.
    const ScreenVertex vs[3] = {{0, 0, 64}, {64, 0, 64}, {0, 64, 64}};
    OwnedRasterTriangle tri = screenTriangle(W, H, vs);
    const std::int32_t shades[9] = {0, 255, 0, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < 9; ++k)
        tri.shades[k] = shades[k];
    tri.triangle.colour = 0x00FF0000u;
    draw(&NewRenderDriver::fillGouraud, tri);
    // Row 0: 64 pixels, red step (255 << 16) / 64 per pixel.
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(target.pixel(x, 0), static_cast<std::uint32_t>((((x * ((255 << 16) / 64)) >> 16) * 255) >> 8) << 16)
            << x;
}

} // namespace
} // namespace zov
