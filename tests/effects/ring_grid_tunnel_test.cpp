#include "effects/BubbleRingLayer.h"
#include "effects/FeedbackBlur.h"
#include "effects/LineSet.h"
#include "effects/ParticleTunnelLayer.h"
#include "effects/RippleGridLayer.h"
#include "engine3d/ColouredPoint.h"
#include "image/Bitmap.h"
#include "tests/runtime/DataFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

using namespace zov;

namespace {

std::vector<std::uint32_t> pixelsOf(const Bitmap& b) { return {b.pixels(), b.pixels() + b.pixelCount()}; }

void fillRandom(Bitmap& b, std::mt19937& rng)
{
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        b.pixels()[i] = static_cast<std::uint32_t>(rng());
}

} // namespace

TEST(ColouredPoint, LineStepsAlongTheLongerAxisAndAddsWithSaturation)
{
    Bitmap b(8, 8);
    ColouredPoint::drawLine(0, 0, 3, 1, 0x10, b);
    std::vector<std::pair<int, int>> lit;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (b.pixel(x, y))
                lit.push_back({x, y});
    EXPECT_EQ(lit, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

    b.fill(0xA0A0A0A0);
    ColouredPoint::drawLine(5, 5, 5, 5, 0x80004001, b);
    EXPECT_EQ(b.pixel(5, 5), 0xFFA0E0A1u);
    EXPECT_EQ(b.pixel(5, 4), 0xA0A0A0A0u);

    // Walks through and past the edges, writing only inside.
    b.fill(0);
    ColouredPoint::drawLine(-3, 4, 12, 4, 1, b);
    ColouredPoint::drawLine(2, -1000000, 2, 1000000, 1, b);
    EXPECT_EQ(b.pixel(0, 4), 1u);
    EXPECT_EQ(b.pixel(7, 4), 1u);
    EXPECT_EQ(b.pixel(2, 4), 2u);
    EXPECT_EQ(b.pixel(2, 0), 1u);
}

TEST(BubbleRing, LoopHasThirtyOnePointsTheLastOnTopOfTheFirst)
{
    BubbleRingLayer layer;
    layer.init();
    ASSERT_EQ(layer.points().size(), 31u);
    EXPECT_NEAR(layer.points().back().x, 2.0, 1e-5);
    EXPECT_NEAR(layer.points().back().z, 0.0, 1e-5);
}

TEST(BubbleRing, InsideSpreadsTheLowBytesUpwardInsideABlackRim)
{
    EXPECT_EQ(bubble::recolour(0x000000ff), 0x00ffffffu);
    EXPECT_EQ(bubble::recolour(0x00ff0000), 0xffff0000u); // cut to 32 bits
    EXPECT_EQ(bubble::recolour(0x00ff00ff), 0xffffffffu);
    Bitmap frame(200, 200);
    frame.fill(0x01);
    BubbleRingLayer::drawBubble(frame, 100.5, 100.5);
    EXPECT_EQ(frame.pixel(100, 100), 0x010101u);
    EXPECT_EQ(frame.pixel(100 + 29, 100), 0x010101u); // d = 29: inside
    EXPECT_EQ(frame.pixel(100 + 31, 100), 0u);        // d = 31: rim
    EXPECT_EQ(frame.pixel(100 - 31, 100), 0u);
    EXPECT_EQ(frame.pixel(100 - 32, 100), 0x01u);          // d = 32: outside
    EXPECT_EQ(frame.pixel(100 + 21, 100 + 21), 0x010101u); // d = 29.7
    EXPECT_EQ(frame.pixel(100 + 22, 100 + 22), 0u);        // d = 31.1
    EXPECT_EQ(frame.pixel(100 + 23, 100 + 23), 0x01u);     // d = 32.5
}

TEST(BubbleRing, CentresOffTheFrameOrNotFiniteDrawNothingButMinusAHalfStillReachesColumnZero)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double far[][2] = {{1e9, 50}, {-1e9, 50}, {50, 1e9}, {nan, 50}, {50, -inf}, {inf, inf}, {-33.0, 50}};
    Bitmap frame(100, 100);
    for (const auto& c : far) {
        frame.fill(0x01);
        BubbleRingLayer::drawBubble(frame, c[0], c[1]);
        for (std::size_t i = 0; i < frame.pixelCount(); ++i)
            ASSERT_EQ(frame.pixels()[i], 0x01u) << c[0] << ", " << c[1];
    }
    frame.fill(0x01);
    BubbleRingLayer::drawBubble(frame, -0.5, 50.0);
    EXPECT_EQ(frame.pixel(0, 50), 0x01010101u); // recoloured twice: dx = 0 and dx = -1 truncate to 0
    EXPECT_EQ(frame.pixel(1, 50), 0x010101u);
}

TEST(BubbleRing, FastBubbleEqualsTheReferenceEverywhere)
{
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> pos(-40.0, 140.0);
    Bitmap a(96, 80), b(96, 80);
    for (int i = 0; i < 400; ++i) {
        fillRandom(a, rng);
        std::copy(a.pixels(), a.pixels() + a.pixelCount(), b.pixels());
        // Edge columns, then anywhere, every third centre on whole pixels.
        const double sx = i < 20 ? -1.0 + i * 0.1 : i % 3 ? pos(rng) : std::floor(pos(rng));
        const double sy = i < 20 ? 40.0 : i % 3 ? pos(rng) : std::floor(pos(rng));
        BubbleRingLayer::drawBubble(a, sx, sy);
        bubble::drawReference(b, sx, sy);
        ASSERT_EQ(pixelsOf(a), pixelsOf(b)) << sx << ", " << sy;
    }
}

TEST(BubbleRing, PointsBehindTheEyeAreSkipped)
{
    BubbleRingLayer layer;
    const float behind = -3.0f;
    layer.setParam("DISTANCE", &behind); // every z is at most -1
    layer.setParam("ROTATION", nullptr); // ignored: the default tumble stays
    layer.init();
    Bitmap frame(64, 48);
    layer.render(frame, 1.0f, 0);
    EXPECT_EQ(std::count(frame.pixels(), frame.pixels() + frame.pixelCount(), 0u), 64 * 48);
    EXPECT_EQ(layer.rotation().z, -1.0);
}

TEST(LineSet, RefusesLinesPastItsCapacity)
{
    LineSet set;
    const ColouredPoint line(Vec3(0, 0, 0), Vec3(1, 1, 1), 0x123456);
    for (int i = 0; i < LineSet::kCapacity; ++i)
        ASSERT_TRUE(set.addLine(line));
    EXPECT_FALSE(set.addLine(line));
    EXPECT_EQ(set.count(), LineSet::kCapacity);
    EXPECT_EQ(set.rest(LineSet::kCapacity - 1).colour(), 0x123456u);
    EXPECT_EQ(set.screen(0).colour(), 0xFF00u);
}

TEST(RippleGrid, GridHas2046LinesOfTheUnitSquare)
{
    RippleGridLayer layer;
    layer.init();
    ASSERT_EQ(layer.grid().count(), 2046);
    const ColouredPoint& first = layer.grid().rest(0);
    EXPECT_EQ(first.start().x, -0.5);
    EXPECT_EQ(first.end().y, -0.5 - 1.0 / 32);
    EXPECT_EQ(first.colour(), 0xffffffu);
    EXPECT_EQ(layer.grid().position.z, 0.8);
}

TEST(RippleGrid, FeedbackKeepsItsBorderRowsClearAndIsAddedOntoTheFrame)
{
    RippleGridLayer layer;
    layer.init();
    Bitmap frame(512, 384);
    for (int i = 0; i < 3; ++i) {
        layer.step(frame, 0.1f * i);
        layer.render(frame, 0.1f * i, 0);
    }
    const Bitmap& fb = *layer.feedback();
    std::uint64_t lit = 0;
    for (int y = 0; y < fb.height(); ++y)
        for (int x = 0; x < fb.width(); ++x) {
            if (y < 6 || (y >= 377 && y <= 382)) {
                ASSERT_EQ(fb.pixel(x, y), 0u) << x << ", " << y;
            }
            lit += fb.pixel(x, y) != 0;
        }
    EXPECT_GT(lit, 10000u);
    EXPECT_NE(frame.pixel(256, 192), 0u);

    // Frames shorter than the cleared rows: clamped to the bitmap.
    for (int h : {1, 3, 8}) {
        RippleGridLayer small;
        small.init();
        Bitmap shortFrame(40, h);
        small.step(shortFrame, 0.5f);
        small.step(shortFrame, 0.6f);
        small.render(shortFrame, 0.6f, 0);
    }
}

TEST(RippleGrid, SharedEndsGiveTheReferencesLinesAndPixels)
{
    RippleGridLayer fast, plain;
    fast.init();
    plain.init();
    std::mt19937 rng(3);
    for (const auto& [w, h] : {std::pair{512, 384}, std::pair{97, 31}}) {
        Bitmap a(w, h), b(w, h);
        for (float t : {0.0f, 0.37f, 2.5f, 61.0f, -4.2f}) {
            fillRandom(a, rng);
            std::copy(a.pixels(), a.pixels() + a.pixelCount(), b.pixels());
            fast.step(a, t);
            fast.render(a, t, 0);
            plain.stepReference(b, t);
            plain.render(b, t, 0);
            ASSERT_EQ(pixelsOf(a), pixelsOf(b)) << w << " at " << t;
            // Bit for bit: a rounding apart would still draw the same pixels.
            auto same = [](const ColouredPoint& x, const ColouredPoint& y) {
                const Vec3 ends[4] = {x.start(), y.start(), x.end(), y.end()};
                return std::memcmp(&ends[0], &ends[1], sizeof(Vec3)) == 0 &&
                       std::memcmp(&ends[2], &ends[3], sizeof(Vec3)) == 0;
            };
            for (int i = 0; i < fast.grid().count(); ++i) {
                ASSERT_TRUE(same(fast.grid().working(i), plain.grid().working(i))) << "line " << i << " at " << t;
                ASSERT_TRUE(same(fast.grid().screen(i), plain.grid().screen(i))) << "line " << i << " at " << t;
            }
        }
    }
}

TEST(FeedbackBlur, ThreeNeighboursTakeTheBlurredRowAboveAndPixelBefore)
{
    // 3 x 4: rows 1 and 2 are blurred, row 1 first.
    std::uint32_t p[] = {0x40, 0x80, 0xFC, //
                         0x04, 0x08, 0x10, //
                         0x20, 0x44, 0x88, //
                         0xFF, 0x00, 0x10};
    blurref::threeNeighbour(p, 3, 4);
    // Row 1: x = 0 takes the last pixel of row 0 as its "before".
    const std::uint32_t r1x0 = (0x40 >> 2) + (0x20 >> 2) + (0xFC >> 1);
    const std::uint32_t r1x1 = (0x80 >> 2) + (0x44 >> 2) + (r1x0 >> 1);
    const std::uint32_t r1x2 = (0xFC >> 2) + (0x88 >> 2) + (r1x1 >> 1);
    EXPECT_EQ(p[3], 0u); // first pixel zeroed after its row
    EXPECT_EQ(p[4], r1x1);
    EXPECT_EQ(p[5], r1x2);
    const std::uint32_t r2x0 = (0 >> 2) + (0xFF >> 2) + (r1x2 >> 1); // above is the zeroed first pixel
    const std::uint32_t r2x1 = (r1x1 >> 2) + (0 >> 2) + (r2x0 >> 1);
    EXPECT_EQ(p[6], 0u);
    EXPECT_EQ(p[7], r2x1);
    EXPECT_EQ(p[0], 0x40u); // rows 0 and H - 1 stay
    EXPECT_EQ(p[9], 0xFFu);
    std::uint32_t q[6] = {~0u, ~0u, ~0u, ~0u, ~0u, ~0u}; // no carry between channels
    blurref::threeNeighbour(q, 2, 3);
    EXPECT_EQ(q[3], 0xFCFCFCFCu); // 2 x 0x3F + 0xFD / 2 per byte
}

TEST(FeedbackBlur, FourNeighboursTakeTheFirstPixelOfTheRowBelowAsTheLastOnesAfter)
{
    std::uint32_t p[] = {0x40, 0x80, //
                         0x04, 0x08, //
                         0x20, 0x44};
    blurref::fourNeighbour(p, 2, 3);
    const std::uint32_t x0 = (0x40 >> 2) + (0x20 >> 2) + (0x80 >> 2) + (0x08 >> 2);
    const std::uint32_t x1 = (0x80 >> 2) + (0x44 >> 2) + (x0 >> 2) + (0x20 >> 2);
    EXPECT_EQ(p[2], 0u);
    EXPECT_EQ(p[3], x1);
    EXPECT_EQ(p[4], 0x20u);
}

TEST(FeedbackBlur, FastBlursEqualTheReferences)
{
    std::mt19937 rng(5);
    const int sizes[][2] = {{512, 384}, {1, 5}, {3, 3}, {7, 9}, {64, 2}, {33, 17}};
    for (const auto& s : sizes)
        for (int four = 0; four < 2; ++four) {
            Bitmap a(s[0], s[1]), b(s[0], s[1]);
            for (int frame = 0; frame < 3; ++frame) {
                fillRandom(a, rng);
                std::copy(a.pixels(), a.pixels() + a.pixelCount(), b.pixels());
                if (four) {
                    feedbackBlur4(a);
                    blurref::fourNeighbour(b.pixels(), s[0], s[1]);
                } else {
                    feedbackBlur(a);
                    blurref::threeNeighbour(b.pixels(), s[0], s[1]);
                }
                ASSERT_EQ(pixelsOf(a), pixelsOf(b)) << s[0] << "x" << s[1] << (four ? " four" : " three");
            }
        }
}

namespace {

ParticleTunnelParams showTunnel()
{
    return {512, 384, 130.0f, 35, 18, "data/particle.jpg", 8.0f, 0.06f, -1.6f, 4.0f, -0.7f};
}

} // namespace

TEST(ParticleTunnel, RingsStartAtCubedDepthsAndFlowOn)
{
    std::vector<float> depths;
    const std::int64_t rings =
        ParticleTunnelLayer::forEachRing(showTunnel(), 0.0f, [&](float s) { depths.push_back(s); });
    ASSERT_EQ(rings, 35);
    ASSERT_EQ(depths.size(), 35u);
    for (int k = 0; k < 35; ++k) {
        const double e = 1.0 + k * 3.7142856;
        EXPECT_NEAR(depths[k], e * e * e * 0.0001, 1e-4 * e * e * e * 0.0001) << k;
    }
    EXPECT_FLOAT_EQ(depths[0], 0.0001f);
    EXPECT_NEAR(depths[34], 206.0, 1.0);

    // A quarter of a ring step later every ring lies a little deeper.
    std::vector<float> later;
    ParticleTunnelLayer::forEachRing(showTunnel(), 0.2f, [&](float s) { later.push_back(s); });
    ASSERT_EQ(later.size(), 35u);
    for (int k = 0; k < 35; ++k)
        EXPECT_GT(later[k], depths[k]);
}

TEST(ParticleTunnel, CountsAtOrBelowZeroDrawNothingAndAHugeSpanStillEnds)
{
    const struct {
        float span;
        int rings, sprites, expected;
    } cases[] = {{130.0f, 0, 18, 0}, {130.0f, -5, 18, 0}, {130.0f, 35, 0, 0},
                 {0.0f, 35, 18, 0},  {-1.0f, 35, 18, 0},  {std::numeric_limits<float>::quiet_NaN(), 35, 18, 0},
                 {1e-7f, 10, 18, 11}}; // e + step rounds back to e: the count ends the walk
    for (const auto& c : cases) {
        ParticleTunnelParams p = showTunnel();
        p.span = c.span;
        p.ringCount = c.rings;
        p.spritesPerRing = c.sprites;
        int calls = 0;
        EXPECT_EQ(ParticleTunnelLayer::forEachRing(p, 1.0f, [&](float) { ++calls; }), c.expected) << c.span;
        EXPECT_EQ(calls, c.expected);
    }
}

TEST(ParticleTunnel, LoadsItsSpriteWhenMadeAndDrawsThirtyFiveRingsOfNineteen)
{
    test::DataFolder folder;
    folder.jpeg("data/particle.jpg", 64, 64, 0x202020);
    testing::internal::CaptureStdout();
    ParticleTunnelLayer layer(showTunnel());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "trying to load data/particle.jpg with loader number 1. \n");
    ASSERT_NE(layer.sprite(), nullptr);
    Bitmap frame(512, 384);
    layer.render(frame, 0.0f, 0);
    EXPECT_EQ(layer.spritesDrawn(), 35 * 19);
    EXPECT_NE(std::count(frame.pixels(), frame.pixels() + frame.pixelCount(), 0u),
              static_cast<std::ptrdiff_t>(frame.pixelCount()));

    ParticleTunnelParams unknown = showTunnel();
    unknown.spriteFile = "data/particle.gif";
    testing::internal::CaptureStdout();
    ParticleTunnelLayer without(unknown);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(without.sprite(), nullptr);
    frame.fill(0);
    without.render(frame, 0.0f, 0);
    EXPECT_EQ(without.spritesDrawn(), 0);
}
