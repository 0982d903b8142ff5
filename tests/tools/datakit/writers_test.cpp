#include "image/Bitmap.h"
#include "image/JpegLoader.h"
#include "image/PcxLoader.h"
#include "tests/tools/datakit/LwobWalk.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/LwoWriter.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace zov {
namespace {

using test::readFileBytes;
using test::walkLwob;
using kit::encodeLwob;
using kit::LwoObject;
using kit::LwoTexture;
using kit::writeLwob;

// A file name unique to this process (test cases run as parallel
// processes), removed again when the test ends.
struct TempFile {
    std::string path;
    explicit TempFile(const std::string& name)
        : path(testing::TempDir() + "/datakit_" + std::to_string(::getpid()) + "_" + name)
    {
    }
    ~TempFile() { std::remove(path.c_str()); }
};

std::vector<std::uint32_t> randomPixels(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h);
    for (auto& v : p)
        v = static_cast<std::uint32_t>(rng());
    return p;
}

int u16le(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

TEST(PcxWriter, HeaderDescribesA24BitPictureOfItsSize)
{
    const std::vector<std::uint32_t> pixels(5 * 3, 0x123456);
    const std::vector<std::uint8_t> b = encodePcx(PixelRect{pixels.data(), 5, 3});
    ASSERT_GT(b.size(), 128u);
    EXPECT_EQ(b[0], 10);
    EXPECT_EQ(b[1], 5);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 8);
    EXPECT_EQ(u16le(b, 4), 0);
    EXPECT_EQ(u16le(b, 6), 0);
    EXPECT_EQ(u16le(b, 8), 4);
    EXPECT_EQ(u16le(b, 10), 2);
    EXPECT_EQ(b[65], 3);
    EXPECT_EQ(u16le(b, 66), 5); // bytes per line = width, no filler
}

// Walks the run-length data: every byte of 0xC0 or more is a run of 1..63,
// everything else a literal below 0xC0; the lines add up to the picture.
TEST(PcxWriter, RunsStayWithinSixtyThreeAndHighBytesAreAlwaysRuns)
{
    constexpr int w = 200, h = 3;
    std::vector<std::uint32_t> pixels(w * h, 0x00C0C0C0);
    for (int x = 0; x < w; x += 7)
        pixels[x] = 0x00BFC5FF; // lone bytes just below and above the marker range
    pixels[w + 3] = 0x00010203;
    const std::vector<std::uint8_t> b = encodePcx(PixelRect{pixels.data(), w, h});
    std::size_t stored = 0;
    for (std::size_t i = 128; i < b.size(); ++i) {
        if ((b[i] & 0xC0) == 0xC0) {
            const int count = b[i] & 0x3F;
            EXPECT_GE(count, 1) << "at " << i;
            ASSERT_LT(i + 1, b.size());
            stored += static_cast<std::size_t>(count);
            ++i;
        } else {
            ++stored;
        }
    }
    EXPECT_EQ(stored, static_cast<std::size_t>(w * h * 3));
}

TEST(PcxWriter, RoundTripsThroughTheShowsPcxLoader)
{
    for (const auto& [w, h] : {std::pair{37, 11}, std::pair{320, 200}, std::pair{1, 1}}) {
        std::vector<std::uint32_t> pixels = randomPixels(w, h, static_cast<unsigned>(w * 1000 + h));
        // Some flat stretches, so long runs occur too.
        for (int x = 0; x < w / 2; ++x)
            pixels[static_cast<std::size_t>(x)] = 0x00FFFFFF;
        const TempFile file("roundtrip.pcx");
        ASSERT_TRUE(writePcx(PixelRect{pixels.data(), w, h}, file.path));
        Bitmap loaded(w, h);
        PcxLoader().loadInto(loaded, file.path.c_str(), w, h, false, true);
        for (int i = 0; i < w * h; ++i)
            ASSERT_EQ(loaded.pixels()[i], pixels[static_cast<std::size_t>(i)] & 0x00FFFFFF) << w << "x" << h << " at " << i;
    }
}

TEST(PcxWriter, ReportsWhatItCannotWrite)
{
    EXPECT_TRUE(encodePcx(PixelRect{}).empty());
    const std::uint32_t pixel = 0;
    EXPECT_FALSE(writePcx(PixelRect{&pixel, 1, 1}, "/nonexistent-dir/x.pcx"));
    EXPECT_FALSE(writePcx(PixelRect{}, TempFile("empty.pcx").path));
}

std::vector<std::uint32_t> gradient(int w, int h)
{
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[static_cast<std::size_t>(y * w + x)] =
                static_cast<std::uint32_t>((x * 255 / (w - 1)) << 16 | (y * 255 / (h - 1)) << 8 | 128);
    return p;
}

TEST(JpegWriter, RoundTripsThroughTheShowsJpegLoader)
{
    constexpr int w = 64, h = 48;
    const std::vector<std::uint32_t> pixels = gradient(w, h);
    const TempFile file("roundtrip.jpg");
    ASSERT_TRUE(writeJpeg(PixelRect{pixels.data(), w, h}, file.path));
    Bitmap loaded(w, h);
    JpegLoader().loadInto(loaded, file.path.c_str(), w, h, false, true);
    int worst = 0;
    for (int i = 0; i < w * h; ++i) {
        EXPECT_EQ(loaded.pixels()[i] >> 24, 0xFFu);
        for (int s = 0; s < 24; s += 8)
            worst = std::max(worst, std::abs(static_cast<int>((loaded.pixels()[i] >> s) & 255) -
                                             static_cast<int>((pixels[static_cast<std::size_t>(i)] >> s) & 255)));
    }
    EXPECT_LE(worst, 8);
}

TEST(JpegWriter, SamePixelsGiveSameBytesAndFailuresAreReported)
{
    const std::vector<std::uint32_t> pixels = gradient(33, 17);
    const TempFile a("a.jpg"), b("b.jpg");
    ASSERT_TRUE(writeJpeg(PixelRect{pixels.data(), 33, 17}, a.path));
    ASSERT_TRUE(writeJpeg(PixelRect{pixels.data(), 33, 17}, b.path));
    EXPECT_EQ(readFileBytes(a.path), readFileBytes(b.path));
    EXPECT_FALSE(writeJpeg(PixelRect{pixels.data(), 33, 17}, "/nonexistent-dir/x.jpg"));
    EXPECT_FALSE(writeJpeg(PixelRect{}, TempFile("empty.jpg").path));
}

LwoObject sampleObject()
{
    LwoObject o;
    o.points = {{1.0f, -2.5f, 3.0f}, {0.0f, 0.0f, 0.0f}, {4.0f, 5.0f, 6.0f}, {-1.0f, 0.5f, 2.0f}};
    LwoTexture t;
    t.flags = 4;
    t.size = {8.0f, -8.0f, 2.0f};
    t.centre = {0.5f, 0.0f, -1.0f};
    t.image = "data/tex.jpg"; // 12 characters: a pad byte follows
    o.surfaces = {{"Abcd", 0x102030, std::nullopt}, {"Abcde", 0xFF8000, std::nullopt}, {"Tex", 0xFFFFFF, t}};
    o.polygons = {{{0, 1, 2}, 1}, {{0, 2, 3, 1}, 3}, {{3, 2, 1}, 2}};
    return o;
}

TEST(LwoWriter, WritesFormLwobThatAChunkWalkReadsBack)
{
    const LwoObject o = sampleObject();
    const test::WalkedLwob w = walkLwob(encodeLwob(o));
    ASSERT_EQ(w.error, "");
    EXPECT_EQ(w.chunks, (std::vector<std::string>{"PNTS", "SRFS", "POLS", "SURF", "SURF", "SURF"}));
    EXPECT_EQ(w.points, o.points);
    EXPECT_EQ(w.surfaceNames, (std::vector<std::string>{"Abcd", "Abcde", "Tex"}));
    ASSERT_EQ(w.polygons.size(), 3u);
    EXPECT_EQ(w.polygons[1].vertices, (std::vector<std::uint16_t>{0, 2, 3, 1}));
    EXPECT_EQ(w.polygons[1].surface, 3);
    EXPECT_EQ(w.polygons[2].surface, 2);
    ASSERT_EQ(w.surfaces.size(), 3u);
    EXPECT_EQ(w.surfaces[0].name, "Abcd");
    EXPECT_EQ(w.surfaces[0].colour, 0x102030u);
    EXPECT_EQ(w.surfaces[0].subChunks, (std::vector<std::string>{"COLR"}));
    const test::WalkedSurface& tex = w.surfaces[2];
    EXPECT_EQ(tex.subChunks, (std::vector<std::string>{"COLR", "CTEX", "TFLG", "TSIZ", "TCTR", "TIMG"}));
    EXPECT_EQ(tex.textureType, "Planar Image Map");
    EXPECT_EQ(tex.textureFlags, 4);
    EXPECT_EQ(tex.size, (std::array<float, 3>{8.0f, -8.0f, 2.0f}));
    EXPECT_EQ(tex.centre, (std::array<float, 3>{0.5f, 0.0f, -1.0f}));
    EXPECT_EQ(tex.image, "data/tex.jpg");
}

std::size_t find(const std::vector<std::uint8_t>& b, const std::string& s)
{
    for (std::size_t i = 0; i + s.size() <= b.size(); ++i)
        if (std::equal(s.begin(), s.end(), b.begin() + static_cast<std::ptrdiff_t>(i)))
            return i;
    return std::string::npos;
}

TEST(LwoWriter, PadsOddLengthNamesAndWritesBigEndian)
{
    const std::vector<std::uint8_t> b = encodeLwob(sampleObject());
    // "Abcd" and its terminator are 5 bytes: one pad byte, then COLR.
    const std::size_t four = find(b, std::string("SURF") + '\0');
    ASSERT_NE(four, std::string::npos);
    EXPECT_EQ(find(b, std::string("Abcd\0\0COLR", 10)), four + 8);
    // "Abcde" and its terminator are 6 bytes: COLR follows at once.
    EXPECT_NE(find(b, std::string("Abcde\0COLR", 10)), std::string::npos);
    // The first point's x, 1.0f, is 3F 80 00 00 right after the PNTS header.
    const std::size_t pnts = find(b, "PNTS");
    EXPECT_EQ(b[pnts + 4], 0);
    EXPECT_EQ(b[pnts + 7], 48); // 4 points of 12 bytes
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + static_cast<std::ptrdiff_t>(pnts + 8),
                                        b.begin() + static_cast<std::ptrdiff_t>(pnts + 12)),
              (std::vector<std::uint8_t>{0x3F, 0x80, 0x00, 0x00}));
}

TEST(LwoWriter, RefusesPolygonsThatNameNothing)
{
    LwoObject o = sampleObject();
    o.polygons.push_back({{0, 1, 4}, 1}); // no point 4
    EXPECT_THROW(encodeLwob(o), std::out_of_range);
    o = sampleObject();
    o.polygons.push_back({{0, 1, 2}, 0}); // surfaces count from 1
    EXPECT_THROW(encodeLwob(o), std::out_of_range);
    o = sampleObject();
    o.polygons.push_back({{}, 1});
    EXPECT_THROW(encodeLwob(o), std::invalid_argument);
    EXPECT_FALSE(writeLwob(sampleObject(), "/nonexistent-dir/x.lwo"));
}

} // namespace
} // namespace zov
