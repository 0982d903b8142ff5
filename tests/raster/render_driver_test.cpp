#include "raster/FillTable.h"
#include "raster/NewRenderDriver.h"
#include "raster/PixelOps.h"
#include "raster/RasterTriangle.h"
#include "raster/Sprite.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zov {
namespace {

using rastertest::screenRect;

TEST(NewRenderDriver, StartsWithClearDepthAndDefaults)
{
    Bitmap target(40, 30);
    NewRenderDriver driver(target);
    EXPECT_EQ(driver.width(), 40);
    EXPECT_EQ(driver.height(), 30);
    EXPECT_EQ(driver.cullBackFaces, 1);
    EXPECT_EQ(driver.zoom, 1.0f);
    EXPECT_EQ(driver.optionByte(), 0);
    for (int i = 0; i < 40 * 30; ++i)
        ASSERT_EQ(driver.depthBuffer()[i], 0.0f);

    driver.setOption(7);
    EXPECT_EQ(driver.optionByte(), 7);
    driver.depthBuffer()[0] = 3.0f;
    driver.depthBuffer()[40 * 30 - 1] = 3.0f;
    driver.clearDepth();
    EXPECT_EQ(driver.depthBuffer()[0], 0.0f);
    EXPECT_EQ(driver.depthBuffer()[40 * 30 - 1], 0.0f);
}

TEST(NewRenderDriver, DestructorPrintsItsLine)
{
    Bitmap target(8, 8);
    testing::internal::CaptureStdout();
    {
        std::unique_ptr<RenderDriver> driver = std::make_unique<NewRenderDriver>(target);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deleting a NewRenderDriver \n");
}

// The fills' fixed slot numbers.
TEST(RenderDriver, SlotNumbersReachTheirFills)
{
    const struct {
        int slot;
        fills::Routine fill;
    } fixed[] = {
        {1, &NewRenderDriver::fillFlat},
        {2, &NewRenderDriver::fillTextured},
        {4, &NewRenderDriver::fillTextureEnvAdd},
        {5, &NewRenderDriver::fillTextureMasked},
        {6, &NewRenderDriver::fillBumpEnv},
        {10, &NewRenderDriver::fillPerspective},
        {11, &NewRenderDriver::fillPerspectiveKeyed},
        {12, &NewRenderDriver::fillPerspectiveNoDepth},
        {13, &NewRenderDriver::fillPerspectiveFogNoDepth},
        {14, &NewRenderDriver::fillPerspectiveFog},
        {15, &NewRenderDriver::fillGouraudTextured},
        {16, &NewRenderDriver::fillGouraud},
    };
    for (const auto& d : fixed)
        EXPECT_TRUE(fills::routineFor(d.slot) == d.fill) << d.slot;
    // Rows that share a slot share its routine.
    for (const fills::Row& row : fills::kRows)
        EXPECT_TRUE(fills::routineFor(row.slot) == row.fill) << "type code " << row.typeCode;

    // The call goes through the slot: slot 1 draws the flat colour.
    Bitmap target(32, 32);
    NewRenderDriver driver(target);
    auto tris = screenRect(32, 32, 0, 0, 32, 32, 32.0f);
    tris[0].triangle.colour = 0x00ABCDEFu;
    driver.fillBySlot(1, tris[0].triangle, target, 0);
    EXPECT_GT(rastertest::countPixels(target, 0x00ABCDEFu), 0);
}

TEST(RenderDriver, EmptySlotsDrawNothing)
{
    Bitmap target(32, 32);
    target.fill(0x11223344u);
    const auto texture = rastertest::solidTexture(0x00FFFFFFu);
    auto tris = screenRect(32, 32, 0, 0, 32, 32, 32.0f);
    OwnedRasterTriangle& tri = tris[0];
    tri.triangle.textureA = tri.triangle.textureB = tri.triangle.textureC = tri.triangle.textureD = texture.data();
    const OwnedRasterTriangle before = tri;

    RenderDriver base;
    NewRenderDriver driver(target);
    for (int slot = -1; slot <= RenderDriver::kTriangleSlots; ++slot) {
        base.fillBySlot(slot, tri.triangle, target, 0);
        if (!fills::routineFor(slot))
            driver.fillBySlot(slot, tri.triangle, target, 0);
    }

    EXPECT_EQ(rastertest::countPixels(target, 0x11223344u), 32 * 32);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(tri.coords[i], before.coords[i]);
}

TEST(NewRenderDriver, TargetOfAnotherSizeIsNotDrawn)
{
    Bitmap sized(32, 32);
    NewRenderDriver driver(sized);
    Bitmap smaller(16, 16);
    auto tris = screenRect(32, 32, 0, 0, 32, 32, 32.0f);
    tris[0].triangle.colour = 0xFFu;
    driver.fillFlat(tris[0].triangle, smaller, 1);
    EXPECT_EQ(rastertest::countPixels(smaller, 0), 16 * 16);
    Sprite sprite;
    driver.drawSprite(sprite, smaller, 1);
}

// The packed-integer pixel operations must equal the plain per-byte formulas
// for every pair of byte values, in every byte position.
TEST(PixelOps, PackedEqualsReferenceForAllBytePairs)
{
    for (std::uint32_t a = 0; a < 256; ++a)
        for (std::uint32_t b = 0; b < 256; ++b) {
            const std::uint32_t pa = a * 0x01010101u ^ 0x00FF0000u;
            const std::uint32_t pb = b * 0x01010101u ^ 0x0000FF00u;
            ASSERT_EQ(pixelops::addSaturate(pa, pb), pixelops::addSaturateReference(pa, pb));
            ASSERT_EQ(pixelops::subSaturate(pa, pb), pixelops::subSaturateReference(pa, pb));
            ASSERT_EQ(pixelops::blend(pa, pb, a), pixelops::blendReference(pa, pb, a));
            ASSERT_EQ(pixelops::blend(pa, pb, b), pixelops::blendReference(pa, pb, b));
        }
    std::mt19937 rng(5);
    for (int i = 0; i < 100000; ++i) {
        const std::uint32_t d = rng(), s = rng(), t = rng() & 0xFFu;
        ASSERT_EQ(pixelops::blend(d, s, t), pixelops::blendReference(d, s, t));
        ASSERT_EQ(pixelops::addSaturate(d, s), pixelops::addSaturateReference(d, s));
    }
}

TEST(PixelOps, AdditionSaturatesEachByteOnItsOwn)
{
    EXPECT_EQ(pixelops::addSaturate(0xF0F0F0F0u, 0x20202020u), 0xFFFFFFFFu);
    EXPECT_EQ(pixelops::addSaturate(0xF0010203u, 0x20010101u), 0xFF020304u);
    EXPECT_EQ(pixelops::average(0xFFFFFFFFu, 0xFFFFFFFFu), 0xFEFEFEFEu);
    EXPECT_EQ(pixelops::blend(0x00FF0000u, 0x000000FFu, 255), 0x00FE0000u);
}

} // namespace
} // namespace zov
