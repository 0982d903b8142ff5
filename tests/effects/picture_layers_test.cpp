#include "effects/FadingPictureLayer.h"
#include "effects/ScrollerLayer.h"
#include "effects/Vec3Function.h"
#include "image/Bitmap.h"
#include "tests/runtime/DataFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace zov;

namespace {

struct PictureLayers : testing::Test {
    test::DataFolder folder;
    Bitmap frame{512, 384};
};

// The PCX loader's temporary bitmap announces itself.
template <typename Layer> void initLayer(Layer& layer)
{
    testing::internal::CaptureStdout();
    layer.init();
    testing::internal::GetCapturedStdout();
}

void configure(FadingPictureLayer& layer, const char* name, std::int32_t width, std::int32_t height, float speed,
               const Vec3Function* position)
{
    layer.setParam("PICTURE FILENAME", name);
    layer.setParam("PICTURE WIDTH", &width);
    layer.setParam("PICTURE HEIGHT", &height);
    layer.setParam("FADEOUT SPEED", &speed);
    layer.setParam("POSITION", position);
}

} // namespace

TEST(ScrollerLayer, SourceColumnScrollsLeftAndMayBeNegative)
{
    EXPECT_EQ(ScrollerLayer::sourceColumn(0.0f, 512), -512);
    EXPECT_EQ(ScrollerLayer::sourceColumn(0.5f, 512), -435);
    EXPECT_EQ(ScrollerLayer::sourceColumn(1.0f / 0.3f, 512), 0);
    EXPECT_EQ(ScrollerLayer::sourceColumn(10.0f, 512), 1024);
}

TEST_F(PictureLayers, ScrollerAddsTheWrappedStripOnTheMiddleBand)
{
    // White only in source columns 576..639, whole 8-pixel blocks of a flat
    // JPEG, so the edges decode exactly.
    {
        Bitmap strip(1024, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 576; x < 640; ++x)
                strip.setPixel(x, y, 0xFFFFFF);
        testing::internal::CaptureStdout();
        ASSERT_TRUE(writeJpeg(strip, "data/scrollie1.jpg", 95));
        testing::internal::GetCapturedStdout();
    }
    ScrollerLayer layer;
    initLayer(layer);
    frame.fill(0x404040);
    // t = 0.5: source -435, that is 589, at the left edge.
    layer.render(frame, 0.5f, 0);
    EXPECT_EQ(frame.pixel(0, 160) & 0xFFFFFF, 0xFFFFFFu);  // 589
    EXPECT_EQ(frame.pixel(50, 223) & 0xFFFFFF, 0xFFFFFFu); // 639
    EXPECT_EQ(frame.pixel(51, 190) & 0xFFFFFF, 0x404040u); // 640: black adds nothing
    EXPECT_EQ(frame.pixel(0, 159), 0x404040u);             // outside the band
    EXPECT_EQ(frame.pixel(0, 224), 0x404040u);
    // t = 0: source 512 at the left edge, so 576 at column 64.
    frame.fill(0);
    layer.render(frame, 0.0f, 0);
    EXPECT_EQ(frame.pixel(63, 170) & 0xFFFFFF, 0u);
    EXPECT_EQ(frame.pixel(64, 170) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(frame.pixel(127, 170) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(frame.pixel(128, 170) & 0xFFFFFF, 0u);
}

TEST(FadingPictureLayer, LevelFallsFromThreeSecondsAndStaysInRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float time, start, speed;
        int level;
    } cases[] = {
        {3.0f, 3.0f, 40.0f, 255}, {4.0f, 3.0f, 40.0f, 215},   {9.375f, 3.0f, 40.0f, 0},
        {20.0f, 3.0f, 40.0f, 0},  {50.0f, 3.0f, 0.0f, 255},   {4.0f, 3.0f, -40.0f, 255}, // no wrapped byte
        {4.0f, 3.0f, nan, 0},     {1e30f, 3.0f, -1e30f, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FadingPictureLayer::fadeLevel(c.time, c.start, c.speed), c.level)
            << c.time << " " << c.start << " " << c.speed;
}

TEST_F(PictureLayers, PictureIsAddedUntilThreeSecondsThenFadedAlsoAtSpeedZero)
{
    folder.pcx("data/title.pcx", 4, 2, [](int, int) { return 0x808080u; });
    const ConstantVec3Function at(10.9, -0.5, 0.0); // truncated: (10, 0)
    FadingPictureLayer layer;
    configure(layer, "data/title.pcx", 4, 2, 0.0f, &at);
    layer.setParam("POSITION", nullptr); // ignored
    initLayer(layer);
    layer.render(frame, 3.0f, 0); // the test is t > 3
    EXPECT_FALSE(layer.fading());
    EXPECT_EQ(frame.pixel(10, 0), 0x808080u);
    EXPECT_EQ(frame.pixel(13, 1), 0x808080u);
    EXPECT_EQ(frame.pixel(14, 1) | frame.pixel(9, 0), 0u);
    frame.fill(0);
    layer.render(frame, 3.01f, 0); // level 255: a scaled draw
    EXPECT_EQ(layer.fadeStart(), 3.0f);
    EXPECT_EQ(frame.pixel(10, 0), 0x7F7F7Fu);
}

TEST_F(PictureLayers, FadeoutKeyStartsTheFadeAtTheLastRenderAndNullChangesNothing)
{
    folder.pcx("data/title.pcx", 2, 2, [](int, int) { return 0xFFu; });
    const ConstantVec3Function at(0.0, 0.0, 0.0);
    FadingPictureLayer layer;
    configure(layer, "data/title.pcx", 2, 2, 100.0f, &at);
    initLayer(layer);
    layer.render(frame, 1.0f, 0);
    const unsigned char on = 1, off = 0;
    layer.setParam("FADEOUT", nullptr);
    EXPECT_FALSE(layer.fading());
    layer.setParam("FADEOUT", &on);
    EXPECT_EQ(layer.fadeStart(), 1.0f);
    frame.fill(0);
    layer.render(frame, 2.0f, 0); // level 255 - 1 s x 100
    EXPECT_EQ(frame.pixel(0, 0), (0xFFu * 155) >> 8);
    layer.setParam("FADEOUT", &off);
    EXPECT_FALSE(layer.fading());
}

TEST_F(PictureLayers, PictureMissingAnythingDrawsNothing)
{
    folder.pcx("data/title.pcx", 2, 2, [](int, int) { return 0xFFFFFFu; });
    const ConstantVec3Function at(0.0, 0.0, 0.0);
    const struct {
        const char* name;
        std::int32_t width, height;
        const Vec3Function* position;
    } cases[] = {
        {nullptr, 2, 2, &at},           {"data/title.pcx", 0, 2, &at},
        {"data/title.pcx", 2, -2, &at}, {"data/title.pcx", -1, -1, &at},
        {"data/title.png", 2, 2, &at},  {"data/title.pcx", 2, 2, nullptr},
    };
    for (const auto& c : cases) {
        FadingPictureLayer layer;
        configure(layer, c.name, c.width, c.height, 40.0f, c.position);
        initLayer(layer);
        frame.fill(0x010203);
        layer.render(frame, 1.0f, 0);
        layer.render(frame, 5.0f, 0);
        EXPECT_EQ(frame.pixel(0, 0), 0x010203u) << (c.name ? c.name : "null") << " " << c.width << "x" << c.height;
    }
}
