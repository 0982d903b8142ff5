#include "raster/NewRenderDriver.h"
#include "raster/Sprite.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

namespace zov {
namespace {


class SpriteFill : public ::testing::Test {
protected:
    static constexpr int W = 256;
    static constexpr int H = 192;

    Bitmap target{W, H};
    NewRenderDriver driver{target};
    Bitmap image{64, 64};

    void SetUp() override
    {
        // Texel: column in blue, row in green, 0x10 in red.
        for (int v = 0; v < 64; ++v)
            for (int u = 0; u < 64; ++u)
                image.setPixel(u, v, 0x00100000u | (static_cast<std::uint32_t>(v) << 8) | u);
    }

    // A sprite of w x h pixels centred on screen pixel (cx, cy) at depth z
    // (z a power of two keeps the projection exact).
    Sprite at(int cx, int cy, int w, int h, double z = 4.0) const
    {
        Sprite s;
        s.image = &image;
        s.size.set(w * z / W, h * z / W, 0.0);
        s.position.set((cx - W / 2) * z / W, (H / 2 - cy) * z / W, z);
        return s;
    }

    int drawn() const { return W * H - rastertest::countPixels(target, 0); }
};

TEST_F(SpriteFill, DrawsTheScaledImageAdditively)
{
    target.fill(0x01010101u);
    driver.drawSprite(at(100, 80, 128, 64), target, 0);
    // 128 x 64 pixels from 36..163 x 48..111; half a texel per column.
    EXPECT_EQ(W * H - rastertest::countPixels(target, 0x01010101u), 128 * 64);
    EXPECT_EQ(target.pixel(36, 48), 0x01110101u);
    EXPECT_EQ(target.pixel(163, 111), 0x01114040u);
    EXPECT_EQ(target.pixel(35, 48), 0x01010101u);

    // Overlapping sprites add up and saturate per byte.
    for (int i = 0; i < 20; ++i)
        driver.drawSprite(at(100, 80, 128, 64), target, 0);
    EXPECT_EQ(target.pixel(163, 111), 0x01FFFFFFu);
}

TEST_F(SpriteFill, VisibilityIsDecidedAtTheCentrePixelOnly)
{
    // Nearer geometry (z 64) over the columns left of 128.
    for (OwnedRasterTriangle& tri : rastertest::screenRect(W, H, -10, -10, 128, 400, 64.0f))
        driver.fillFlat(tri.triangle, target, 0);
    // Centre hidden: nothing at all, though most of it is in the open.
    driver.drawSprite(at(120, 80, 64, 64, 128.0), target, 0);
    EXPECT_EQ(drawn(), 0);
    // Centre visible: all of it, also over the nearer geometry.
    driver.drawSprite(at(136, 80, 64, 64, 128.0), target, 0);
    EXPECT_EQ(drawn(), 64 * 64);
    // The effects' stamp is never hidden.
    target.fill(0);
    driver.drawSprite(at(120, 80, 64, 64, 128.0), target, 2000000000);
    EXPECT_EQ(drawn(), 64 * 64);
}

TEST_F(SpriteFill, RejectsNearOddAndTinySprites)
{
    Sprite s = at(128, 96, 64, 64, 4.0);
    s.position.z = 1.9;
    driver.drawSprite(s, target, 0);
    EXPECT_EQ(drawn(), 0);
    s.position.z = 2.0;
    driver.drawSprite(s, target, 0);
    EXPECT_GT(drawn(), 0);

    target.fill(0);
    driver.drawSprite(at(128, 96, 1, 40), target, 0);
    driver.drawSprite(at(128, 96, 40, 1), target, 0);
    Bitmap odd(100, 64);
    odd.fill(0x00FFFFFFu);
    Sprite wrongWidth = at(128, 96, 40, 40);
    wrongWidth.image = &odd;
    driver.drawSprite(wrongWidth, target, 0);
    Sprite noImage = at(128, 96, 40, 40);
    noImage.image = nullptr;
    driver.drawSprite(noImage, target, 0);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(SpriteFill, ClipsAtEveryEdge)
{
    // Left edge: screen column 0 shows the image column of sprite column 20.
    driver.drawSprite(at(44, 96, 128, 64), target, 2000000000);
    EXPECT_EQ(target.pixel(0, 64), 0x0010000Au);
    EXPECT_EQ(drawn(), 108 * 64);

    struct Case {
        int cx, cy, visibleW, visibleH;
    };
    const Case cases[] = {
        {250, 96, 70, 64},  // right: 186..255
        {128, 10, 128, 42}, // top: rows 0..41
        {128, 180, 128, 44}, // bottom: 148..191
        {2, 2, 66, 34},      // corner
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cx * 1000 + c.cy);
        target.fill(0);
        driver.drawSprite(at(c.cx, c.cy, 128, 64), target, 2000000000);
        EXPECT_EQ(drawn(), c.visibleW * c.visibleH);
    }
    // Top edge: screen row 0 shows the image row of sprite row 22.
    target.fill(0);
    driver.drawSprite(at(128, 10, 128, 64), target, 2000000000);
    EXPECT_EQ(target.pixel(64, 0), 0x00101600u);

    // Sizes far beyond the target, centred on it: the target is covered.
    target.fill(0);
    Sprite huge = at(128, 96, 64, 64, 2.0);
    huge.size.set(1e12, 1e15, 0.0);
    driver.drawSprite(huge, target, 2000000000);
    EXPECT_EQ(drawn(), W * H);
}

TEST_F(SpriteFill, The256WideImageIsAddressedByItsOwnRows)
{
    Bitmap wide(256, 256);
    for (int v = 0; v < 256; ++v)
        for (int u = 0; u < 256; ++u)
            wide.setPixel(u, v, (static_cast<std::uint32_t>(v) << 8) | u);
    Sprite s = at(128, 96, 128, 128);
    s.image = &wide;
    driver.drawSprite(s, target, 0);
    EXPECT_EQ(target.pixel(64, 32), 0u);
    EXPECT_EQ(target.pixel(65, 33), 0x00000202u);
    EXPECT_EQ(target.pixel(191, 159), 0x0000FEFEu);
}

TEST(SpriteFillSmallTarget, DrawsOneWhitePixelBehindTheDepthTest)
{
    Bitmap target(100, 80);
    NewRenderDriver driver(target);
    Bitmap image(64, 64);
    Sprite s;
    s.image = &image;
    s.position.set(10.0 * 4 / 100, 0.0, 4.0); // 10 pixels right of the centre
    driver.drawSprite(s, target, 0);
    EXPECT_EQ(target.pixel(60, 40), 0x00FFFFFFu);
    EXPECT_EQ(rastertest::countPixels(target, 0), 100 * 80 - 1);

    // Behind stored depth: nothing. Behind the eye or at it: nothing.
    target.fill(0);
    driver.depthBuffer()[40 * 100 + 60] = 5.0f;
    driver.drawSprite(s, target, 0);
    s.position.z = 0.0;
    driver.drawSprite(s, target, 0);
    s.position.z = -1.0;
    driver.drawSprite(s, target, 0);
    EXPECT_EQ(rastertest::countPixels(target, 0), 100 * 80);
}

} // namespace
} // namespace zov
