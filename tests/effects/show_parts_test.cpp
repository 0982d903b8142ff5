#include "effects/BubbleRingLayer.h"
#include "effects/FadingPictureLayer.h"
#include "effects/GreetsPart.h"
#include "effects/ObjectLayer.h"
#include "effects/PartTiming.h"
#include "effects/ParticleTunnelLayer.h"
#include "effects/RippleGridLayer.h"
#include "effects/ScrollerLayer.h"
#include "effects/TrailObjectPart.h"
#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "show/ShowTable.h"
#include "tests/runtime/DataFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

using namespace zov;

namespace {

// The show's factories and parts over stand-in pictures of flat colours.
struct ShowParts : testing::Test {
    test::DataFolder folder;
    Bitmap frame{512, 384};
    Bitmap descriptor;
    std::unique_ptr<NewRenderDriver> driver;

    void SetUp() override
    {
        folder.showPictures();
        // Portraits told apart by colour.
        folder.jpeg("data/umbra1.jpg", 178, 169, 0xFF0000);
        folder.jpeg("data/umbra2.jpg", 178, 169, 0x00FF00);
        folder.jpeg("data/umbra3.jpg", 178, 169, 0x0000FF);
        descriptor.setSize(512, 384);
        driver = std::make_unique<NewRenderDriver>(descriptor);
    }
    // Part index of the show, made as the show makes it.
    static std::unique_ptr<Part> make(int index)
    {
        return kShowParts[index].make(512, 384, kShowParts[index].background);
    }
    std::unique_ptr<Part> quietly(int index)
    {
        testing::internal::CaptureStdout();
        auto part = make(index);
        part->init(frame, *driver);
        std::fflush(stdout);
        lines = testing::internal::GetCapturedStdout();
        return part;
    }
    // The kit's star with the texture named, its printed lines swallowed.
    static void initStar(ObjectLayer& star, const char* texture)
    {
        star.setParam("OBJECT FILENAME", "data/star.lwo");
        star.setParam("TEXTURE FILENAME", texture);
        testing::internal::CaptureStdout();
        star.init();
        testing::internal::GetCapturedStdout();
    }
    std::string lines;
};

std::uint32_t rgb(std::uint32_t p) { return p & 0xFFFFFF; }

} // namespace

TEST_F(ShowParts, FactoriesBuildTheLayersInOrderOnTheirBackgrounds)
{
    testing::internal::CaptureStdout();
    std::unique_ptr<Part> parts[] = {make(0), make(1), make(2), make(3)};
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "trying to load data/particle.jpg with loader number 1. \n");
    auto* slide = dynamic_cast<TrailObjectPart*>(parts[0].get());
    auto* tunnel = dynamic_cast<LayeredPart*>(parts[1].get());
    auto* scroller = dynamic_cast<LayeredPart*>(parts[2].get());
    auto* greets = dynamic_cast<GreetsPart*>(parts[3].get());
    ASSERT_TRUE(slide && tunnel && scroller && greets);
    EXPECT_STREQ(slide->backgroundName(), "data/bak4.jpg");
    EXPECT_STREQ(tunnel->backgroundName(), "data/bak2.jpg");
    EXPECT_STREQ(scroller->backgroundName(), "data/bak1.jpg");
    EXPECT_STREQ(greets->backgroundName(), "data/bak3.jpg");

    ASSERT_EQ(slide->layerCount(), 1);
    EXPECT_NE(dynamic_cast<FadingPictureLayer*>(slide->layer(0)), nullptr);

    ASSERT_EQ(tunnel->layerCount(), 2);
    auto* rings = dynamic_cast<ParticleTunnelLayer*>(tunnel->layer(0));
    ASSERT_NE(rings, nullptr);
    EXPECT_EQ(rings->params().ringCount, 35);
    EXPECT_EQ(rings->params().spritesPerRing, 18);
    EXPECT_EQ(rings->params().span, 130.0f);
    EXPECT_EQ(rings->params().ringSpin, -0.7f);
    auto* star = dynamic_cast<ObjectLayer*>(tunnel->layer(1)); // the one the driver sends "BONK"
    ASSERT_NE(star, nullptr);
    EXPECT_STREQ(star->objectFile(), "data/star.lwo");
    EXPECT_STREQ(star->textureFile(), "data/envmap.jpg");
    EXPECT_FALSE(star->transparent());
    EXPECT_NEAR(star->position().at(0.0f).z, -14.0, 1e-9);

    ASSERT_EQ(scroller->layerCount(), 3);
    auto* bubbles = dynamic_cast<BubbleRingLayer*>(scroller->layer(0));
    ASSERT_NE(bubbles, nullptr);
    EXPECT_EQ(bubbles->distance(), 8.0f);
    EXPECT_NE(dynamic_cast<RippleGridLayer*>(scroller->layer(1)), nullptr);
    auto* strip = dynamic_cast<ScrollerLayer*>(scroller->layer(2));
    ASSERT_NE(strip, nullptr);
    EXPECT_STREQ(strip->fileName(), "data/scrollie1.jpg");
    EXPECT_EQ(strip->width(), 1024);
    EXPECT_EQ(strip->height(), 64);

    ASSERT_EQ(greets->layerCount(), 1);
    auto* restingStar = dynamic_cast<ObjectLayer*>(greets->layer(0));
    ASSERT_NE(restingStar, nullptr);
    EXPECT_EQ(restingStar->position().at(5.0f).z, -20.0);
}

TEST_F(ShowParts, TitleEntersFromTheRightAndFadesAtForty)
{
    folder.jpeg("data/pinegrov.jpg", 271, 20, 0x808080); // mid-grey: no saturation over the background
    auto part = quietly(0);
    // The cube's two emblem faces each load their picture.
    EXPECT_EQ(lines, " actiontable constructor gets called \n"
                     "trying to load data/kubface.jpg with loader number 1. \n"
                     "trying to load data/kubface.jpg with loader number 1. \n"
                     "deleted object \n");
    part->render(frame, *driver, 0.0f); // x = 563: wholly right of the frame
    const std::uint32_t background = frame.pixel(511, 190);
    EXPECT_LT(rgb(background), 0x505050u);
    part->render(frame, *driver, 1.0f); // x = 491
    EXPECT_EQ(rgb(frame.pixel(490, 190)), rgb(background));
    EXPECT_GT(frame.pixel(491, 190) & 0xFF, 0xB0u);
    // t = 4: level 255 - 40 = 215, read from a 32-bit float.
    part->render(frame, *driver, 4.0f);
    const int x = static_cast<int>((1.1 - 0.14 * 4.0) * 512) + 220; // right of the cube
    const std::uint32_t added = (frame.pixel(x, 190) & 0xFF) - (background & 0xFF);
    EXPECT_NEAR(added, (0x80 * 215) >> 8, 2);
}

TEST_F(ShowParts, CubeIsDrawnIntoTheTrailWhichIsAddedOverTheLayers)
{
    auto part = quietly(0);
    auto* slide = dynamic_cast<TrailObjectPart*>(part.get());
    const Bitmap& trail = *slide->trail();
    ASSERT_EQ(trail.width(), 512);
    part->render(frame, *driver, 0.5f); // the title is still right of the frame
    EXPECT_NE(rgb(trail.pixel(256, 192)), 0u);
    EXPECT_EQ(rgb(trail.pixel(8, 8)), 0u);
    Bitmap expected(512, 384);
    slide->background()->copyTo(expected);
    trail.addTo(expected);
    for (std::size_t i = 0; i < frame.pixelCount(); ++i)
        ASSERT_EQ(frame.pixels()[i], expected.pixels()[i]) << i;
}

TEST(GreetsPart, PortraitCyclesFourTimesASecondAlsoBeforeZero)
{
    const struct {
        float t;
        int k;
    } cases[] = {{0.0f, 0},  {0.25f, 1}, {0.74f, 2},
                 {0.75f, 0}, {1.0f, 1},  {-0.2f, 0},
                 {-0.3f, 2}, {-0.6f, 1}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GreetsPart::portraitAt(c.t), c.k) << c.t;
}

TEST(GreetsPart, WindowSwingsBetweenRows19And364)
{
    int lo = 1000, hi = -1000;
    for (int i = 0; i < 10000; ++i) {
        const int row = GreetsPart::windowRowAt(i * 0.001f, 384);
        lo = std::min(lo, row);
        hi = std::max(hi, row);
    }
    EXPECT_EQ(lo, 19);
    EXPECT_EQ(hi, 364);
    EXPECT_EQ(GreetsPart::windowRowAt(0.0f, 384), 192);
}

TEST_F(ShowParts, GreetsShowsTheTurnsPortraitThroughItsMask)
{
    auto part = quietly(3);
    EXPECT_EQ(lines, " actiontable constructor gets called \n"
                     "deleted object \n"
                     "trying to load data/envmap.jpg with loader number 1. \n"
                     "trying to load data/umbra1.jpg with loader number 1. \n"
                     "trying to load data/umbra1a.jpg with loader number 1. \n"
                     "trying to load data/umbra2.jpg with loader number 1. \n"
                     "trying to load data/umbra2a.jpg with loader number 1. \n"
                     "trying to load data/umbra3.jpg with loader number 1. \n"
                     "trying to load data/umbra3a.jpg with loader number 1. \n"
                     "trying to load data/greets.jpg with loader number 1. \n");
    const std::uint32_t expected[] = {0xFF0000, 0x00FF00, 0x0000FF};
    const float times[] = {0.0f, 0.25f, 0.5f};
    for (int k = 0; k < 3; ++k) {
        part->render(frame, *driver, times[k]);
        // The mask is white: (portrait * 255) >> 8 everywhere inside.
        const std::uint32_t p = frame.pixel(266 + 89, 119 + 84);
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t byte = (p >> (8 * c)) & 0xFF;
            const bool lit = (expected[k] >> (8 * c)) & 0xFF;
            EXPECT_EQ(byte > 0xE0, lit) << "portrait " << k << " channel " << c;
        }
        EXPECT_NE(rgb(frame.pixel(265, 119 + 84)), rgb(p)); // left of the portrait
    }
}

TEST(ObjectLayer, BonksBetweenTwoFramesCountOnceAndCarryIntoEveryObjectLayer)
{
    ObjectLayer second, fourth;
    Bitmap frame(8, 8);
    second.render(frame, 1.0f, 0);
    const float before = second.objectTime();
    for (int i = 0; i < 3; ++i)
        second.setParam("BONK", nullptr);
    second.render(frame, 1.0f, 0);
    EXPECT_EQ(second.objectTime(), before + 2.0f);
    second.setParam("bonk", &before);
    second.render(frame, 1.5f, 0);
    EXPECT_EQ(second.objectTime(), before + 4.5f);
    // The fourth part's star starts along its path by what the second gathered.
    fourth.render(frame, 0.0f, 0);
    EXPECT_EQ(fourth.objectTime(), ObjectLayer::bonkOffset());
    EXPECT_EQ(fourth.objectTime(), before + 3.0f);
}

TEST(ObjectLayer, TransparentFollowsThePointerAndWithoutAnObjectNothingIsDrawn)
{
    ObjectLayer layer;
    const int anything = 0;
    const bool expected[] = {true, false, false};
    const void* values[] = {&anything, nullptr, &anything};
    const char* keys[] = {"TRANSPARENT", "transparent", "TRANSPARENCY"}; // the last is not a key
    for (int i = 0; i < 3; ++i) {
        layer.setParam(keys[i], values[i]);
        EXPECT_EQ(layer.transparent(), expected[i]) << keys[i];
    }
    layer.setParam("POSITION", nullptr); // ignored: the origin stays
    EXPECT_EQ(layer.position().at(3.0f).x, 0.0);
    layer.setParam("OBJECT FILENAME", "data/star.lwo"); // but no texture
    layer.init();
    EXPECT_EQ(layer.scene(), nullptr);
    Bitmap frame(8, 8);
    frame.fill(0x123456);
    layer.render(frame, 1.0f, 0);
    EXPECT_EQ(frame.pixel(3, 3), 0x123456u);
}

TEST_F(ShowParts, StarWhoseTextureNoLoaderTakesIsDrawnPlain)
{
    ObjectLayer star;
    initStar(star, "data/envmap.png");
    Bitmap small(128, 96);
    small.fill(0xFFFFFF);
    star.render(small, 0.5f, 0);
    EXPECT_NE(rgb(small.pixel(64, 48)), 0xFFFFFFu);
}

TEST_F(ShowParts, StarIsDrawnOpaqueOrAddedThroughADriverForTheFrameItIsGiven)
{
    const ConstantVec3Function ahead(0.0, 0.0, -10.0);
    const int on = 1;
    for (const bool transparent : {false, true}) {
        ObjectLayer star;
        star.setParam("POSITION", &ahead);
        star.setParam("TRANSPARENT", transparent ? &on : nullptr);
        initStar(star, "data/envmap.jpg");
        Bitmap small(128, 96);
        small.fill(0xFFFFFF);
        star.render(small, 0.5f, 0);
        // Added onto white, the star leaves it white; opaque, it shows.
        EXPECT_EQ(rgb(small.pixel(64, 48)) == 0xFFFFFF, transparent) << transparent;
        small.fill(0);
        star.render(small, 0.6f, 0);
        EXPECT_NE(rgb(small.pixel(64, 48)), 0u) << transparent;
        EXPECT_EQ(rgb(small.pixel(2, 2)), 0u) << transparent;
    }
}

TEST(PartTiming, SummaryTakesTheMiddleAndTheNearestRankOf99)
{
    std::vector<double> seconds;
    for (int i = 100; i >= 1; --i)
        seconds.push_back(i);
    const FrameTimeSummary s = summarizeFrameTimes(seconds);
    EXPECT_EQ(s.median, 50.5);
    EXPECT_EQ(s.p99, 99.0);
    EXPECT_EQ(s.worst, 100.0);
    EXPECT_EQ(summarizeFrameTimes({7.0}).p99, 7.0);
    EXPECT_EQ(summarizeFrameTimes({}).median, 0.0);
}
