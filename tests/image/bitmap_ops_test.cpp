#include "image/Bitmap.h"
#include "tests/image/BitmapTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace zov {
namespace {

using test::cloneOf;
using test::perByte;
using test::randomBitmap;
using test::samePixels;

std::uint32_t satAdd(std::uint32_t s, std::uint32_t d)
{
    return perByte(s, d, [](std::uint32_t a, std::uint32_t b) { return std::min(255u, a + b); });
}

// A clipped operation drawn the slow way: every source pixel that lands
// inside dest is combined with the dest pixel under it.
using PixelOp = std::function<std::uint32_t(std::uint32_t src, std::uint32_t dst, int sx, int sy)>;

void drawNaively(const Bitmap& src, Bitmap& dest, int x, int y, const PixelOp& op)
{
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) {
            const int dx = x + sx;
            const int dy = y + sy;
            if (dx >= 0 && dx < dest.width() && dy >= 0 && dy < dest.height())
                dest.setPixel(dx, dy, op(src.pixel(sx, sy), dest.pixel(dx, dy), sx, sy));
        }
}

TEST(BitmapOps, SetPixelWritesOnlyInside)
{
    Bitmap b(4, 3);
    b.setPixel(-1, 0, 7);
    b.setPixel(4, 0, 7);
    b.setPixel(0, -1, 7);
    b.setPixel(0, 3, 7);
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        EXPECT_EQ(b.pixels()[i], 0u);
    b.setPixel(3, 2, 0xAABBCCDD);
    EXPECT_EQ(b.pixels()[2 * 4 + 3], 0xAABBCCDDu);
}

TEST(BitmapOps, ByteArithmeticOnKnownValues)
{
    Bitmap src(1, 1), dest(1, 1);
    // Saturates per byte, byte 3 included, with no carry into the next byte.
    src.setPixel(0, 0, 0xFF10C8FF);
    dest.setPixel(0, 0, 0x00206401);
    src.addTo(dest);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF30FFFFu);

    // Fade by 128: halves the source, rounding down, then saturates.
    src.setPixel(0, 0, 0xFF03FF80);
    dest.setPixel(0, 0, 0x01010180);
    src.fadeAt(dest, 0, 0, 128);
    EXPECT_EQ(dest.pixel(0, 0), 0x800280C0u);
    // Only the low byte of the level counts: 256 is level 0.
    src.fadeAt(dest, 0, 0, 256);
    EXPECT_EQ(dest.pixel(0, 0), 0x800280C0u);

    // Mask with a = 255 gives 255/256 of the source; a comes from byte 0 only.
    Bitmap alpha(1, 1);
    alpha.setPixel(0, 0, 0x000000FF);
    src.setPixel(0, 0, 0xFFFFFFFF);
    dest.setPixel(0, 0, 0x12345678);
    src.maskAt(dest, 0, 0, alpha);
    EXPECT_EQ(dest.pixel(0, 0), 0xFEFEFEFEu);
    alpha.setPixel(0, 0, 0xFFFFFF00);
    src.maskAt(dest, 0, 0, alpha);
    EXPECT_EQ(dest.pixel(0, 0), 0xFDFDFDFDu); // dest * 255 / 256

    Bitmap inv(2, 1);
    inv.setPixel(0, 0, 0xAB00FF10);
    inv.setPixel(1, 0, 0x00123456);
    inv.invert();
    EXPECT_EQ(inv.pixel(0, 0), 0xABFF00EFu);
    EXPECT_EQ(inv.pixel(1, 0), 0x00EDCBA9u);
}

TEST(BitmapOps, BlendClampsTheFactor)
{
    Bitmap a(3, 1), b(3, 1), out(3, 1);
    a.fill(0xFFFFFFFF);
    b.fill(0x80400100);
    out.blend(a, b, 300);
    EXPECT_EQ(out.pixel(2, 0), 0xFEFEFEFEu);
    out.blend(a, b, -5);
    // b * 255 / 256 per byte
    EXPECT_EQ(out.pixel(2, 0), 0x7F3F0000u);
    out.blend(a, b, 64);
    EXPECT_EQ(out.pixel(0, 0), perByte(0xFFFFFFFFu, 0x80400100u,
                                       [](std::uint32_t x, std::uint32_t y) { return (x * 64 + y * 191) / 256; }));
    // Blending into one of its own inputs reads each pixel before writing it.
    a.blend(a, b, 0);
    EXPECT_EQ(a.pixel(1, 0), 0x7F3F0000u);
}

TEST(BitmapOps, BlendOfMismatchedSizesStaysInsideEveryBitmap)
{
    Bitmap small(2, 2), big(5, 5), out(5, 5);
    small.fill(0x10101010);
    big.fill(0x20202020);
    out.blend(small, big, 128);
    EXPECT_EQ(out.pixel(3, 0), 0x17171717u); // (0x10 * 128 + 0x20 * 127) / 256
    EXPECT_EQ(out.pixel(4, 0), 0u);          // nothing past the smallest
    small.blend(big, out, 128);
    EXPECT_EQ(small.pixel(1, 1), 0x1B1B1B1Bu); // (0x20 * 128 + 0x17 * 127) / 256
}

TEST(BitmapOps, CopyToCopiesEveryPixelOfEveryRowForAnyWidth)
{
    std::mt19937 rng(5);
    for (int w : {4, 5, 6, 1, 7}) {
        auto src = randomBitmap(w, 3, rng);
        Bitmap dest(w, 3);
        src->copyTo(dest);
        EXPECT_TRUE(samePixels(*src, dest)) << "width " << w;
    }
    // Same width, different heights: only the common rows.
    auto tall = randomBitmap(5, 4, rng);
    Bitmap shortDest(5, 2);
    tall->copyTo(shortDest);
    EXPECT_EQ(shortDest.pixel(4, 1), tall->pixel(4, 1));
    Bitmap tallDest(5, 6);
    shortDest.copyTo(tallDest);
    EXPECT_EQ(tallDest.pixel(4, 1), tall->pixel(4, 1));
    EXPECT_EQ(tallDest.pixel(0, 2), 0u);
    // Different widths: the top-left part, clipped.
    Bitmap narrow(3, 6);
    tall->copyTo(narrow);
    EXPECT_EQ(narrow.pixel(2, 3), tall->pixel(2, 3));
    EXPECT_EQ(narrow.pixel(0, 4), 0u);
}

// Every placement of a small source over a small dest, from wholly outside
// on each side to wholly inside, for each of the clipped operations.
TEST(BitmapOps, ClippedOperationsMatchThePixelByPixelDrawing)
{
    std::mt19937 rng(11);
    const int level = 77;
    const PixelOp copy = [](std::uint32_t s, std::uint32_t, int, int) { return s; };
    const PixelOp add = [](std::uint32_t s, std::uint32_t d, int, int) { return satAdd(s, d); };
    const PixelOp fade = [&](std::uint32_t s, std::uint32_t d, int, int) {
        return perByte(s, d, [&](std::uint32_t a, std::uint32_t b) { return std::min(255u, a * level / 256 + b); });
    };
    for (auto [sw, sh, dw, dh] : {std::array{5, 3, 7, 4}, std::array{7, 4, 5, 3}, std::array{6, 6, 6, 6}}) {
        auto src = randomBitmap(sw, sh, rng);
        auto alpha = randomBitmap(sw, sh, rng);
        const PixelOp mask = [&](std::uint32_t s, std::uint32_t d, int sx, int sy) {
            const std::uint32_t a = alpha->pixel(sx, sy) & 0xFF;
            return perByte(s, d, [&](std::uint32_t x, std::uint32_t y) { return (x * a + y * (255 - a)) / 256; });
        };
        auto base = randomBitmap(dw, dh, rng);
        for (int y = -sh - 1; y <= dh + 1; ++y)
            for (int x = -sw - 1; x <= dw + 1; ++x) {
                const struct {
                    const char* name;
                    std::function<void(Bitmap&)> run;
                    const PixelOp& op;
                } cases[] = {
                    {"copyAt", [&](Bitmap& d) { src->copyAt(d, x, y); }, copy},
                    {"addAt", [&](Bitmap& d) { src->addAt(d, x, y); }, add},
                    {"fadeAt", [&](Bitmap& d) { src->fadeAt(d, x, y, level + 256 * 3); }, fade},
                    {"maskAt", [&](Bitmap& d) { src->maskAt(d, x, y, *alpha); }, mask},
                };
                for (const auto& c : cases) {
                    auto got = cloneOf(*base);
                    auto want = cloneOf(*base);
                    c.run(*got);
                    drawNaively(*src, *want, x, y, c.op);
                    ASSERT_TRUE(samePixels(*got, *want)) << c.name << " " << sw << "x" << sh << " onto " << dw << "x"
                                                         << dh << " at " << x << "," << y;
                }
            }
    }
}

TEST(BitmapOps, AddAtTheOriginAddsAndAnOffsetLeavesTheLeftColumns)
{
    Bitmap logo(512, 4), frame(512, 4);
    logo.fill(0x01010101);
    frame.fill(0x10101010);
    logo.addAt(frame, 0, 0);
    EXPECT_EQ(frame.pixel(0, 0), 0x11111111u);
    EXPECT_EQ(frame.pixel(511, 3), 0x11111111u);

    frame.fill(0x10101010);
    logo.addAt(frame, 30, 0);
    for (int x = 0; x < 30; ++x)
        ASSERT_EQ(frame.pixel(x, 2), 0x10101010u) << x;
    for (int x = 30; x < 512; ++x)
        ASSERT_EQ(frame.pixel(x, 2), 0x11111111u) << x;
}

// Drawn onto itself a row lower, each row takes the row above as it already
// is, top to bottom, whatever the width: rows are never merged into one
// long row that overlaps itself.
TEST(BitmapOps, AddAndFadeOntoItselfGoRowByRowTopToBottom)
{
    std::mt19937 rng(12);
    for (int w : {1, 3, 8, 13, 64}) {
        auto got = randomBitmap(w, 5, rng);
        auto want = cloneOf(*got);
        got->addAt(*got, 0, 1);
        for (int y = 1; y < 5; ++y)
            for (int x = 0; x < w; ++x)
                want->setPixel(x, y, satAdd(want->pixel(x, y - 1), want->pixel(x, y)));
        ASSERT_TRUE(samePixels(*got, *want)) << "add, width " << w;

        got = randomBitmap(w, 5, rng);
        want = cloneOf(*got);
        got->fadeAt(*got, 0, 1, 200);
        const auto fade200 = [](std::uint32_t a, std::uint32_t b) { return std::min(255u, a * 200 / 256 + b); };
        for (int y = 1; y < 5; ++y)
            for (int x = 0; x < w; ++x)
                want->setPixel(x, y, perByte(want->pixel(x, y - 1), want->pixel(x, y), fade200));
        ASSERT_TRUE(samePixels(*got, *want)) << "fade, width " << w;
    }
}

// The show's frame size, where whole rows are worked as one: every pixel of
// every row, none past the last.
TEST(BitmapOps, WholeFrameOperationsMatchThePerPixelFormulas)
{
    std::mt19937 rng(13);
    auto src = randomBitmap(512, 384, rng);
    auto alpha = randomBitmap(512, 384, rng);
    auto base = randomBitmap(512, 384, rng);
    auto add = cloneOf(*base), fade = cloneOf(*base), mask = cloneOf(*base), blend = cloneOf(*base);
    src->addAt(*add, 0, 0);
    src->fadeAt(*fade, 0, 0, 77);
    src->maskAt(*mask, 0, 0, *alpha);
    blend->blend(*src, *base, 180);
    for (std::size_t i = 0; i < base->pixelCount(); ++i) {
        const std::uint32_t s = src->pixels()[i], d = base->pixels()[i], a = alpha->pixels()[i] & 0xFF;
        ASSERT_EQ(add->pixels()[i], satAdd(s, d)) << i;
        ASSERT_EQ(fade->pixels()[i], perByte(s, d, [](std::uint32_t x, std::uint32_t y) {
                      return std::min(255u, x * 77 / 256 + y);
                  })) << i;
        ASSERT_EQ(mask->pixels()[i], perByte(s, d, [&](std::uint32_t x, std::uint32_t y) {
                      return (x * a + y * (255 - a)) / 256;
                  })) << i;
        ASSERT_EQ(blend->pixels()[i], perByte(s, d, [](std::uint32_t x, std::uint32_t y) {
                      return (x * 180 + y * 75) / 256;
                  })) << i;
    }
}

TEST(BitmapOps, AlphaMapSmallerThanTheSourceLimitsTheMask)
{
    Bitmap src(4, 4), alpha(2, 3), dest(4, 4);
    src.fill(0xFFFFFFFF);
    alpha.fill(0xFF);
    src.maskAt(dest, 0, 0, alpha);
    EXPECT_EQ(dest.pixel(1, 2), 0xFEFEFEFEu);
    EXPECT_EQ(dest.pixel(2, 0), 0u);
    EXPECT_EQ(dest.pixel(0, 3), 0u);
}

TEST(BitmapOps, BitmapsWithoutStorageTakePartInNothing)
{
    Bitmap none;
    none.setSize(8, 8);
    Bitmap real(8, 8);
    real.fill(0x01020304);
    none.copyTo(real);
    none.addAt(real, 0, 0);
    none.blitScroll(real, 0, 0, 0, 0, true, true);
    none.scaleTo(real);
    real.copyTo(none);
    real.addTo(none);
    real.fadeAt(none, 0, 0, 100);
    real.maskAt(none, 0, 0, real);
    real.maskAt(real, 0, 0, none);
    real.blitScroll(none, 0, 0, 0, 0, false, false);
    real.scaleTo(none);
    real.blend(none, real, 3);
    none.invert();
    EXPECT_EQ(real.pixel(7, 7), 0x01020304u);
}

TEST(BitmapOps, DestroyingPrintsTheLineWithOrWithoutStorage)
{
    testing::internal::CaptureStdout();
    { Bitmap none; }
    { Bitmap some(2, 2); }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "deallocated internal Bitmap buffer \ndeallocated internal Bitmap buffer \n");
}

} // namespace
} // namespace zov
