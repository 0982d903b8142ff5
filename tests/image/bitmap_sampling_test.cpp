#include "image/Bitmap.h"
#include "tests/image/BitmapTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zov {
namespace {

using test::cloneOf;
using test::perByte;
using test::randomBitmap;
using test::samePixels;

int wrapOrClamp(long long v, int size, bool wrap)
{
    if (wrap)
        return static_cast<int>(((v % size) + size) % size);
    return static_cast<int>(std::clamp<long long>(v, 0, size - 1));
}

// blitScroll seen from the destination: a dest pixel is drawn when it lies
// under the placed source rectangle, sampled at the offset position.
void scrollNaively(const Bitmap& src, Bitmap& dest, int dx, int dy, int sx, int sy, bool wrap, bool additive)
{
    for (int y = 0; y < dest.height(); ++y)
        for (int x = 0; x < dest.width(); ++x) {
            const int rx = x - dx;
            const int ry = y - dy;
            if (rx < 0 || rx >= src.width() || ry < 0 || ry >= src.height())
                continue;
            const std::uint32_t s = src.pixel(wrapOrClamp(sx + static_cast<long long>(rx), src.width(), wrap),
                                              wrapOrClamp(sy + static_cast<long long>(ry), src.height(), wrap));
            const std::uint32_t d = dest.pixel(x, y);
            dest.setPixel(x, y, additive ? perByte(s, d, [](auto a, auto b) { return std::min(255u, a + b); }) : s);
        }
}

TEST(BitmapSampling, BlitScrollMatchesTheDestinationView)
{
    std::mt19937 rng(3);
    auto src = randomBitmap(5, 4, rng);
    auto base = randomBitmap(7, 6, rng);
    for (bool wrap : {true, false})
        for (bool additive : {true, false})
            for (int dy : {-5, -2, 0, 3, 6})
                for (int dx = -6; dx <= 8; ++dx)
                    for (int sy : {-9, -1, 0, 2, 4, 13})
                        for (int sx : {-11, -5, -1, 0, 3, 5, 12}) {
                            auto got = cloneOf(*base);
                            auto want = cloneOf(*base);
                            src->blitScroll(*got, dx, dy, sx, sy, wrap, additive);
                            scrollNaively(*src, *want, dx, dy, sx, sy, wrap, additive);
                            ASSERT_TRUE(samePixels(*got, *want)) << "wrap " << wrap << " additive " << additive
                                                                 << " d " << dx << "," << dy << " s " << sx << "," << sy;
                        }
}

TEST(BitmapSampling, BlitScrollWrapsAndClampsAtTheEdges)
{
    Bitmap strip(4, 1), dest(4, 1);
    for (int x = 0; x < 4; ++x)
        strip.setPixel(x, 0, 0x10u * (x + 1));
    strip.blitScroll(dest, 0, 0, -1, 0, true, false);
    EXPECT_EQ(dest.pixel(0, 0), 0x40u); // the last source column
    EXPECT_EQ(dest.pixel(1, 0), 0x10u);
    strip.blitScroll(dest, 0, 0, -2, 0, false, false);
    EXPECT_EQ(dest.pixel(0, 0), 0x10u);
    EXPECT_EQ(dest.pixel(1, 0), 0x10u);
    EXPECT_EQ(dest.pixel(3, 0), 0x20u);
    // Far-off scroll positions wrap without overflow.
    strip.blitScroll(dest, 0, 0, 2147483647, 0, true, false);
    EXPECT_EQ(dest.pixel(0, 0), 0x40u);
    strip.blitScroll(dest, 0, 0, -2147483647 - 1, 0, true, false);
    EXPECT_EQ(dest.pixel(0, 0), 0x10u);
}

TEST(BitmapSampling, WholeRatiosSampleExactPixels)
{
    std::mt19937 rng(9);
    auto src = randomBitmap(1024, 64, rng);
    Bitmap half(512, 32);
    src->scaleTo(half);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 512; ++x)
            ASSERT_EQ(half.pixel(x, y), src->pixel(2 * x, 2 * y) & 0x00FFFFFFu) << x << "," << y;
    Bitmap same(1024, 64);
    src->scaleTo(same);
    EXPECT_EQ(same.pixel(1023, 63), src->pixel(1023, 63) & 0x00FFFFFFu);
}

TEST(BitmapSampling, FractionalPositionsWeighEachCornerByItsOwnDistances)
{
    // 5 -> 4 puts dest (1, 1) at source (1.25, 1.25).
    Bitmap src(5, 5), dest(4, 4);
    src.setPixel(1, 1, 100);
    src.setPixel(2, 1, 40);
    src.setPixel(1, 2, 60);
    src.setPixel(2, 2, 200);
    src.scaleTo(dest);
    // 100 * .0625 + 40 * .1875 + 60 * .1875 + 200 * .5625, each truncated
    EXPECT_EQ(dest.pixel(1, 1), 6u + 7u + 11u + 112u);

    Bitmap line(5, 1), narrow(4, 1);
    line.setPixel(2, 0, 0x00C8C8C8);
    line.scaleTo(narrow);
    EXPECT_EQ(narrow.pixel(1, 0), 0x00969696u); // 200 * .75 from the far neighbour
}

TEST(BitmapSampling, EnlargingReadsNothingPastTheLastColumnOrRow)
{
    Bitmap src(3, 2), dest(8, 5);
    for (int x = 0; x < 3; ++x)
        src.setPixel(x, 1, 200);
    src.scaleTo(dest);
    EXPECT_EQ(dest.pixel(7, 0), 0u); // not the next row's first pixel
    EXPECT_NEAR(static_cast<int>(dest.pixel(0, 4)), 200, 4); // four truncated terms
    EXPECT_NEAR(static_cast<int>(dest.pixel(7, 4)), 200, 4);
}

} // namespace
} // namespace zov
