#include "image/Bitmap.h"
#include "image/PcxDecoder.h"
#include "image/PcxLoader.h"
#include "tests/image/BitmapTestUtil.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace zov {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withHeader(const Bytes& body)
{
    Bytes file(128, 0xEE); // the header is never read
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

PcxDecodeResult decode(const Bytes& body, Bitmap& target, int w, int h, bool scale = false)
{
    const Bytes file = withHeader(body);
    return decodePcxBytes(file.data(), file.size(), target, w, h, scale);
}

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

// The pid keeps parallel runs (ctest -j, several build trees) apart.
std::string tempPath(const std::string& name) { return testing::TempDir() + "/pcx_" + std::to_string(getpid()) + "_" + name; }

std::uint64_t hashPixels(const Bitmap& b)
{
    std::uint64_t x = 1469598103934665603ull;
    for (std::size_t i = 0; i < b.pixelCount(); ++i) {
        x ^= b.pixels()[i];
        x *= 1099511628211ull;
    }
    return x;
}

TEST(PcxDecode, RunsLiteralsAndEmptyRuns)
{
    Bitmap b(7, 1);
    // Red: five 0x10, a literal 0xBF, an empty run that eats 0x77, a literal 1.
    // Green: three 0x20, then a run of six 0x30 that crosses into blue.
    // Blue: the rest of 0x40.
    const Bytes body = {0xC5, 0x10, 0xBF, 0xC0, 0x77, 0x01, 0xC3, 0x20, 0xC6, 0x30, 0xC5, 0x40};
    EXPECT_EQ(decode(body, b, 7, 1), PcxDecodeResult::Complete);
    EXPECT_EQ(b.pixel(0, 0), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(b.pixel(1, 0), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(b.pixel(2, 0), rgb(0x10, 0x20, 0x40));
    EXPECT_EQ(b.pixel(3, 0), rgb(0x10, 0x30, 0x40));
    EXPECT_EQ(b.pixel(5, 0), rgb(0xBF, 0x30, 0x40));
    EXPECT_EQ(b.pixel(6, 0), rgb(0x01, 0x30, 0x40)); // byte 3 is 0
}

TEST(PcxDecode, RunsCrossFromPlaneToPlaneAndScanlineToScanline)
{
    Bitmap b(3, 2);
    // One run of 8 covers red and green of row 0 and two blue bytes; the next
    // crosses from row 0's blue line into row 1's red line.
    const Bytes body = {0xC8, 0x11, 0xC4, 0x22, 0xC3, 0x33, 0xC3, 0x44};
    EXPECT_EQ(decode(body, b, 3, 2), PcxDecodeResult::Complete);
    EXPECT_EQ(b.pixel(1, 0), rgb(0x11, 0x11, 0x11));
    EXPECT_EQ(b.pixel(2, 0), rgb(0x11, 0x11, 0x22));
    EXPECT_EQ(b.pixel(0, 1), rgb(0x22, 0x33, 0x44));
    EXPECT_EQ(b.pixel(2, 1), rgb(0x22, 0x33, 0x44));
}

TEST(PcxDecode, ShortAndOverlongDataStayInsideTheBuffers)
{
    Bitmap b(2, 2);
    b.fill(0xDEADBEEF);
    // Row 0 complete, row 1 only red: converted anyway.
    EXPECT_EQ(decode({0xC6, 0x50, 0xC2, 0x60}, b, 2, 2), PcxDecodeResult::Incomplete);
    EXPECT_EQ(b.pixel(1, 0), rgb(0x50, 0x50, 0x50));
    EXPECT_EQ(b.pixel(1, 1), rgb(0x60, 0, 0));
    // A run byte with no value byte after it.
    EXPECT_EQ(decode({0xC6, 0x50, 0xC2}, b, 2, 2), PcxDecodeResult::Incomplete);
    // A run of 63 into 12 bytes fills them and goes no further.
    EXPECT_EQ(decode({0xFF, 0x70}, b, 2, 2), PcxDecodeResult::Incomplete);
    EXPECT_EQ(b.pixel(1, 1), rgb(0x70, 0x70, 0x70));
    // Fewer bytes than the header.
    const Bytes tiny(10, 0xC1);
    EXPECT_EQ(decodePcxBytes(tiny.data(), tiny.size(), b, 2, 2, false), PcxDecodeResult::Incomplete);
}

TEST(PcxDecode, ConvertsTheCornerOrStretchesNearestNeighbour)
{
    // 4 x 2 file, red = column, green = row.
    Bytes body;
    for (int y = 0; y < 2; ++y)
        for (int plane = 0; plane < 3; ++plane)
            for (int x = 0; x < 4; ++x)
                body.push_back(static_cast<std::uint8_t>(plane == 0 ? x : plane == 1 ? y : 9));
    Bitmap corner(3, 3);
    corner.fill(0xABABABAB);
    decode(body, corner, 4, 2);
    EXPECT_EQ(corner.pixel(2, 1), rgb(2, 1, 9));
    EXPECT_EQ(corner.pixel(2, 2), 0xABABABABu); // outside the file: untouched

    Bitmap halved(2, 1);
    decode(body, halved, 4, 2, true);
    EXPECT_EQ(halved.pixel(1, 0), rgb(2, 0, 9));
    Bitmap stretched(9, 5);
    decode(body, stretched, 4, 2, true);
    EXPECT_EQ(stretched.pixel(8, 4), rgb(3, 1, 9));
    EXPECT_EQ(stretched.pixel(2, 2), rgb(0, 0, 9)); // 2 * 4/9 and 2 * 2/5 truncate to 0
}

TEST(PcxLoader, LoadsAtTheFileSizeWithOneTemporary)
{
    std::mt19937 rng(1);
    auto picture = test::randomBitmap(320, 200, rng);
    for (std::size_t i = 0; i < picture->pixelCount(); ++i)
        picture->pixels()[i] &= (i % 7 < 3) ? 0x00FFFFFF : 0x00F0F0F0; // some runs too
    const std::string path = tempPath("font.pcx");
    ASSERT_TRUE(writePcx(*picture, path));

    PcxLoader loader;
    Bitmap target(320, 200);
    testing::internal::CaptureStdout();
    loader.loadInto(target, path.c_str(), 320, 200, false, true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated internal Bitmap buffer \n");
    EXPECT_TRUE(test::samePixels(target, *picture));

    Bitmap half(160, 100);
    loader.loadInto(half, path.c_str(), 320, 200, true, true);
    EXPECT_EQ(half.pixel(159, 99), picture->pixel(318, 198));

    auto fresh = loader.loadNew(path.c_str(), 320, 200, false);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(test::samePixels(*fresh, *picture));
}

TEST(PcxLoader, AFileThatCannotBeOpenedLeavesTheTarget)
{
    PcxLoader loader;
    Bitmap target(4, 4);
    target.fill(0x12345678);
    loader.loadInto(target, tempPath("missing.pcx").c_str(), 4, 4, false, true);
    loader.loadInto(target, tempPath("missing.pcx").c_str(), 2, 2, true, true);
    EXPECT_EQ(target.pixel(3, 3), 0x12345678u);
    EXPECT_EQ(target.pixel(0, 0), 0x12345678u);
    EXPECT_EQ(decodePcxFile(nullptr, target, 4, 4, false), PcxDecodeResult::NotOpened);
}

// Real files from other programs. The hashes are of pictures checked pixel
// for pixel against another decoder; a change must be intended.
TEST(PcxLoader, DecodesRealFiles)
{
    const std::filesystem::path dir = std::filesystem::path(ZOV_CORPUS_DIR) / "pcx";
    if (!std::filesystem::exists(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    const struct {
        const char* name;
        int w, h;
        std::uint64_t hash;
    } files[] = {
        {"24bit.pcx", 435, 353, 0xa9e5276495dfc445ull},
        {"Format_RGB888.pcx", 96, 96, 0xe017b95acc36c693ull},
        {"bw.pcx", 32, 32, 0x47ae86a5801e837bull},
        {"rgb-gimp-2.8.10.pcx", 32, 32, 0xfbcf01e7324e393dull},
    };
    for (const auto& f : files) {
        Bitmap b(f.w, f.h);
        EXPECT_EQ(decodePcxFile((dir / f.name).c_str(), b, f.w, f.h, false), PcxDecodeResult::Complete) << f.name;
        EXPECT_EQ(hashPixels(b), f.hash) << f.name;
    }
    // Palette, four-plane and padded-line files are outside the format: they
    // decode to something, safely.
    for (const char* name : {"256-palette.pcx", "dice_rgba.pcx", "ccbug_463951.pcx", "01r_00.pcx"}) {
        Bitmap b(64, 64);
        decodePcxFile((dir / name).c_str(), b, 64, 64, false);
        decodePcxFile((dir / name).c_str(), b, 500, 300, true);
    }
}

} // namespace
} // namespace zov
