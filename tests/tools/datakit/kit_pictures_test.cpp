#include "image/Bitmap.h"
#include "image/JpegLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zov {
namespace {

// What the pictures must be for the show's effects to read over them.
std::unique_ptr<Bitmap> load(const std::string& file, int w, int h)
{
    auto b = std::make_unique<Bitmap>(w, h);
    JpegLoader().loadInto(*b, (std::string(ZOV_DATA_DIR) + "/" + file).c_str(), w, h, false, true);
    return b;
}

int channel(std::uint32_t p, int k) { return static_cast<int>((p >> (8 * k)) & 255); }
int brightest(std::uint32_t p) { return std::max({channel(p, 0), channel(p, 1), channel(p, 2)}); }
double luma(std::uint32_t p) { return 0.3 * channel(p, 2) + 0.59 * channel(p, 1) + 0.11 * channel(p, 0); }

double meanLuma(const Bitmap& b, int x0, int y0, int x1, int y1)
{
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += luma(b.pixel(x, y));
    return sum / ((x1 - x0) * (y1 - y0));
}

int maxInk(const Bitmap& b, int x0, int y0, int x1, int y1)
{
    int m = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            m = std::max(m, brightest(b.pixel(x, y)));
    return m;
}

// Light is added over these regions (the scroller's rows, the greetings'
// half, the middle where the title slides and the cube and tunnel turn); a
// bright background there would drown it.
TEST(KitPictures, BackgroundsStayDarkWhereLightIsAdded)
{
    EXPECT_LT(meanLuma(*load("bak1.jpg", 512, 384), 0, 160, 512, 224), 40.0);
    EXPECT_LT(meanLuma(*load("bak3.jpg", 512, 384), 0, 0, 256, 384), 30.0);
    EXPECT_LT(meanLuma(*load("bak4.jpg", 512, 384), 128, 100, 384, 280), 50.0);
    EXPECT_LT(meanLuma(*load("bak2.jpg", 512, 384), 128, 96, 384, 288), 50.0);
    // ...and still hold a picture, not a flat fill.
    for (const char* f : {"bak1.jpg", "bak2.jpg", "bak3.jpg", "bak4.jpg", "end.jpg"})
        EXPECT_GT(maxInk(*load(f, 512, 384), 0, 0, 512, 384), 150) << f;
}

// Lettering must not be cut at the edges of its picture.
TEST(KitPictures, LetteringFitsItsPicture)
{
    const auto title = load("pinegrov.jpg", 271, 20);
    EXPECT_LE(maxInk(*title, 0, 0, 1, 20), 40);
    EXPECT_LE(maxInk(*title, 270, 0, 271, 20), 40);
    EXPECT_GT(maxInk(*title, 0, 0, 271, 20), 200);
    const auto strip = load("scrollie1.jpg", 1024, 64);
    EXPECT_LE(maxInk(*strip, 0, 0, 1024, 1), 40);
    EXPECT_LE(maxInk(*strip, 0, 63, 1024, 64), 40);
    const auto greets = load("greets.jpg", 256, 512);
    EXPECT_LE(maxInk(*greets, 0, 0, 1, 512), 40);
    EXPECT_LE(maxInk(*greets, 255, 0, 256, 512), 40);
}

// The ripple grid's trails are warm (its lines add 0x221a0c) and cross the
// scroller's band: letters whose ink leans warm anywhere vanish into them.
TEST(KitPictures, ScrollerInkIsCoolFromTopToBottom)
{
    const auto strip = load("scrollie1.jpg", 1024, 64);
    for (int y = 0; y < 64; ++y) {
        long red = 0, blue = 0;
        for (int x = 0; x < 1024; ++x)
            if (brightest(strip->pixel(x, y)) > 100) {
                red += channel(strip->pixel(x, y), 2);
                blue += channel(strip->pixel(x, y), 0);
            }
        EXPECT_GE(blue, red) << "row " << y;
    }
}

// The logo is added at (30, 40) and only its left 482 columns show: its ink
// must be centred on the frame, not on the file.
TEST(KitPictures, LogoIsCentredOnTheFrame)
{
    const auto logo = load("kestrel.jpg", 512, 256);
    double sum = 0.0, weight = 0.0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 512; ++x) {
            const double w = luma(logo->pixel(x, y));
            sum += w * x;
            weight += w;
        }
    ASSERT_GT(weight, 0.0);
    EXPECT_NEAR(30.0 + sum / weight, 256.0, 12.0);
}

// The sprite is a glow: brightest in the middle, falling off outwards.
TEST(KitPictures, ParticleFallsOffFromItsCentre)
{
    const auto p = load("particle.jpg", 64, 64);
    int previous = 256;
    for (int r = 0; r < 30; r += 3) {
        const int v = brightest(p->pixel(32 + r, 32));
        EXPECT_LE(v, previous + 2) << "at radius " << r;
        previous = v;
    }
}

// Row v of the environment map is looked up with v = normal.y * 127 + 128:
// normals pointing up (large v) must see the sky, down (small v) the floor.
TEST(KitPictures, EnvironmentMapHasTheSkyWhereNormalsPointUp)
{
    const auto env = load("envmap.jpg", 256, 256);
    double skyBlue = 0.0, skyRed = 0.0, floorBlue = 0.0, floorRed = 0.0;
    for (int x = 96; x < 160; ++x) {
        for (int y = 180; y < 230; ++y) {
            skyBlue += channel(env->pixel(x, y), 0);
            skyRed += channel(env->pixel(x, y), 2);
        }
        for (int y = 26; y < 76; ++y) {
            floorBlue += channel(env->pixel(x, y), 0);
            floorRed += channel(env->pixel(x, y), 2);
        }
    }
    EXPECT_GT(skyBlue, skyRed);
    EXPECT_GT(floorRed, floorBlue);
}

} // namespace
} // namespace zov
