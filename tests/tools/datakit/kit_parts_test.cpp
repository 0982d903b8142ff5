#include "tools/datakit/Canvas.h"
#include "tools/datakit/Font8x8.h"
#include "tools/datakit/Lettering.h"
#include "tools/datakit/Noise.h"

#include <gtest/gtest.h>

#include <set>

namespace zov::kit {
namespace {

TEST(KitCanvas, QuantisesOnceWithRoundingAndClamping)
{
    Canvas c(4, 1);
    c.at(0, 0) = {1.0f, 0.5f, 0.0f};
    c.at(1, 0) = {2.0f, -1.0f, 254.4f / 255.0f};
    c.at(2, 0) = {0.5f / 255.0f, 1.49f / 255.0f, 1.51f / 255.0f};
    const std::vector<std::uint32_t> p = c.toPixels();
    EXPECT_EQ(p[0], 0x00FF8000u);
    EXPECT_EQ(p[1], 0x00FF00FEu);
    EXPECT_EQ(p[2], 0x00010102u);
    EXPECT_EQ(p[3], 0u);
}

TEST(KitCanvas, BlurKeepsInteriorMassAndFadesAtTheEdges)
{
    Mask m(41, 41);
    m.at(20, 20) = 1.0f;
    const Mask b = m.blurred(3);
    float sum = 0.0f;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x)
            sum += b.at(x, y);
    EXPECT_NEAR(sum, 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(b.at(20 - 4, 20), b.at(20 + 4, 20));
    EXPECT_GT(b.at(20, 20), b.at(23, 20));
}

// Distinct characters must look distinct, and the proportional widths used
// for lettering must follow the ink.
TEST(KitFont, GlyphsAreDistinctAndMeasuredByTheirInk)
{
    std::set<Glyph> seen;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        if (c == ' ')
            continue;
        EXPECT_TRUE(seen.insert(glyph(c)).second) << "glyph of " << c << " repeats another";
        EXPECT_LE(glyphInkLeft(c), glyphInkRight(c)) << c;
        for (int y = 0; y < 8; ++y) {
            EXPECT_FALSE(glyphPixel(c, glyphInkLeft(c) - 1, y));
            EXPECT_FALSE(glyphPixel(c, glyphInkRight(c) + 1, y));
        }
    }
    EXPECT_EQ(glyph(200), glyph('?'));
    EXPECT_EQ(glyphInkRight(' '), -1);
    // "I" is 4 columns of ink, "M" 7; a space is 4; one column between glyphs.
    EXPECT_EQ(textWidthUnits("I"), 4);
    EXPECT_EQ(textWidthUnits("IM"), 4 + 1 + 7);
    EXPECT_EQ(textWidthUnits("I "), 4 + 1 + 4);
    EXPECT_EQ(textWidthUnits(""), 0);
}

TEST(KitLettering, SmoothedTextCoversTheGlyphsAndNothingFarFromThem)
{
    const float scale = 6.0f;
    const int pad = 3;
    const Mask m = renderText("HI", scale, pad);
    EXPECT_EQ(m.width(), static_cast<int>(textWidthUnits("HI") * scale) + 2 * pad);
    EXPECT_EQ(m.height(), static_cast<int>(8 * scale) + 2 * pad);
    // The middle of every font pixel is ink exactly where the glyph has ink.
    int pen = 0;
    for (char ch : std::string("HI")) {
        const int left = glyphInkLeft(ch);
        for (int y = 0; y < 8; ++y)
            for (int x = left; x <= glyphInkRight(ch); ++x) {
                const int px = pad + static_cast<int>((pen + x - left + 0.5f) * scale);
                const int py = pad + static_cast<int>((y + 0.5f) * scale);
                EXPECT_EQ(m.at(px, py) > 0.5f, glyphPixel(ch, x, y)) << ch << " " << x << "," << y;
            }
        pen += glyphInkRight(ch) - left + 2;
    }
    for (int y = 0; y < m.height(); ++y) {
        EXPECT_EQ(m.at(0, y), 0.0f);
        EXPECT_EQ(m.at(m.width() - 1, y), 0.0f);
    }
}

TEST(KitNoise, RepeatsExactlyAndStaysInRange)
{
    for (int i = 0; i < 500; ++i) {
        const float x = static_cast<float>(i) * 0.37f, y = static_cast<float>(i) * -0.21f;
        const float a = fbm2(x, y, 5, 7);
        EXPECT_EQ(a, fbm2(x, y, 5, 7));
        EXPECT_GE(a, -1.0f);
        EXPECT_LE(a, 1.0f);
        const float r = ridged2(x, y, 4, 9);
        EXPECT_GE(r, 0.0f);
        EXPECT_LE(r, 1.0f);
        EXPECT_GE(cellBorder2(x, y, 3), 0.0f);
        EXPECT_LT(hash2f(i, -i, 1), 1.0f);
    }
    EXPECT_NE(hash2i(1, 2, 3), hash2i(2, 1, 3));
}

} // namespace
} // namespace zov::kit
