#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "image/JpegDecoder.h"
#include "image/JpegLoader.h"
#include "tools/datakit/JpegWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zov {
namespace {

// The pid keeps parallel runs (ctest -j, several build trees) apart.
std::string tempPath(const std::string& name) { return testing::TempDir() + "/jpeg_" + std::to_string(getpid()) + "_" + name; }

std::unique_ptr<Bitmap> gradient(int w, int h)
{
    auto b = std::make_unique<Bitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->setPixel(x, y, (static_cast<std::uint32_t>(x * 255 / w) << 16) |
                                  (static_cast<std::uint32_t>(y * 255 / h) << 8) | 0x60u);
    return b;
}

std::string writeTemp(const Bitmap& b, const std::string& name)
{
    const std::string path = tempPath(name);
    EXPECT_TRUE(writeJpeg(b, path, 95));
    return path;
}

int largestByteDifference(std::uint32_t a, std::uint32_t b)
{
    int most = 0;
    for (int k = 0; k < 3; ++k)
        most = std::max(most, std::abs(static_cast<int>((a >> (8 * k)) & 0xFF) - static_cast<int>((b >> (8 * k)) & 0xFF)));
    return most;
}

TEST(JpegLoader, AFrameSizedFileFillsEveryPixelWithByte3Set)
{
    auto picture = gradient(512, 384);
    const std::string path = writeTemp(*picture, "frame.jpg");
    ImageLoaderRegistry registry;
    testing::internal::CaptureStdout();
    const auto target = registry.loadPicture(path.c_str(), {512, 384});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ""); // no temporary
    ASSERT_TRUE(target);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(target->pixel(x, y) >> 24, 0xFFu) << x << "," << y;
            ASSERT_LE(largestByteDifference(target->pixel(x, y), picture->pixel(x, y)), 8) << x << "," << y;
        }
}

TEST(JpegLoader, WhiteAndBlackAreExact)
{
    for (std::uint32_t colour : {0x00FFFFFFu, 0x00000000u}) {
        Bitmap flat(24, 16);
        flat.fill(colour);
        const std::string path = writeTemp(flat, "flat.jpg");
        Bitmap target(24, 16);
        ASSERT_TRUE(decodeJpegFile(path.c_str(), target.pixels(), 24, 16));
        EXPECT_EQ(target.pixel(0, 0), 0xFF000000u | colour);
        EXPECT_EQ(target.pixel(23, 15), 0xFF000000u | colour);
    }
}

TEST(JpegLoader, AnotherStatedSizeIsResampledThroughATemporary)
{
    auto picture = gradient(32, 16);
    const std::string path = writeTemp(*picture, "halve.jpg");
    JpegLoader loader;
    Bitmap target(16, 8);
    testing::internal::CaptureStdout();
    loader.loadInto(target, path.c_str(), 32, 16, false, true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deallocated internal Bitmap buffer \n");
    EXPECT_EQ(target.pixel(15, 7) >> 24, 0u); // the resampler clears byte 3
    EXPECT_LE(largestByteDifference(target.pixel(15, 7), picture->pixel(30, 14)), 8);
    EXPECT_EQ(loader.loadNew(path.c_str(), 32, 16, false), nullptr);
}

TEST(JpegLoader, AFileOfAnotherRealSizeIsCroppedToTheDestination)
{
    const std::string bigPath = writeTemp(*gradient(40, 20), "big.jpg");
    Bitmap whole(40, 20), target(16, 8);
    ASSERT_TRUE(decodeJpegFile(bigPath.c_str(), whole.pixels(), 40, 20));
    ASSERT_TRUE(decodeJpegFile(bigPath.c_str(), target.pixels(), 16, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(target.pixel(x, y), whole.pixel(x, y)) << x << "," << y;

    const std::string smallPath = writeTemp(*gradient(8, 4), "small.jpg");
    Bitmap exact(8, 4);
    ASSERT_TRUE(decodeJpegFile(smallPath.c_str(), exact.pixels(), 8, 4));
    target.fill(0x01020304);
    ASSERT_TRUE(decodeJpegFile(smallPath.c_str(), target.pixels(), 16, 8));
    EXPECT_EQ(target.pixel(7, 3), exact.pixel(7, 3));
    EXPECT_EQ(target.pixel(0, 1), exact.pixel(0, 1));
    EXPECT_EQ(target.pixel(8, 0), 0x01020304u);
    EXPECT_EQ(target.pixel(0, 4), 0x01020304u);
}

TEST(JpegLoaderDeathTest, AFileThatCannotBeOpenedEndsTheProgramWithAReason)
{
    Bitmap target(4, 4);
    const std::string path = tempPath("no-such-file.jpg");
    EXPECT_EXIT(decodeJpegFile(path.c_str(), target.pixels(), 4, 4), testing::ExitedWithCode(1),
                "^.*no-such-file\\.jpg: no such file\n$");
}

int gOpenFailures = 0;
int gLastError = 0;

TEST(JpegLoader, AReplacedOpenFailureHandlerThatReturnsLeavesTheTarget)
{
    const auto previous = setJpegOpenFailureHandler([](const char*, int error) {
        ++gOpenFailures;
        gLastError = error;
    });
    Bitmap target(4, 4);
    target.fill(0x55555555);
    JpegLoader().loadInto(target, tempPath("missing.jpg").c_str(), 4, 4, false, true);
    JpegLoader().loadInto(target, tempPath("missing.jpg").c_str(), 8, 8, false, true);
    setJpegOpenFailureHandler(previous);
    EXPECT_EQ(gOpenFailures, 2);
    EXPECT_EQ(gLastError, ENOENT);
    EXPECT_EQ(target.pixel(3, 3), 0x55555555u);
}

TEST(JpegLoader, AFileTheLibraryCannotDecodeLeavesTheTarget)
{
    const std::string path = tempPath("garbage.jpg");
    std::ofstream(path) << "this is not a picture";
    Bitmap target(4, 4);
    target.fill(0x55555555);
    testing::internal::CaptureStderr();
    JpegLoader().loadInto(target, path.c_str(), 4, 4, false, true);
    JpegLoader().loadInto(target, path.c_str(), 2, 2, false, true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), path + ": not a JPEG file\n" + path + ": not a JPEG file\n");
    EXPECT_EQ(target.pixel(0, 0), 0x55555555u);
}

class JpegCorpus : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::path(ZOV_CORPUS_DIR) / "jpeg";
        if (!std::filesystem::exists(dir_))
            GTEST_SKIP() << "no corpus at " << dir_;
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(JpegCorpus, GreyscaleComesOutGreyWithByte3Set)
{
    Bitmap b(128, 128);
    ASSERT_TRUE(decodeJpegFile(path("hopper_gray.jpg").c_str(), b.pixels(), 128, 128));
    bool someLight = false;
    for (std::size_t i = 0; i < b.pixelCount(); ++i) {
        const std::uint32_t p = b.pixels()[i];
        const std::uint32_t grey = p & 0xFF;
        ASSERT_EQ(p, 0xFF000000u | grey << 16 | grey << 8 | grey) << i;
        someLight = someLight || grey > 128;
    }
    EXPECT_TRUE(someLight);
}

TEST_F(JpegCorpus, CmykFailsWithTheLibrarysMessage)
{
    Bitmap b(100, 100);
    b.fill(7);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(decodeJpegFile(path("pil_sample_cmyk.jpg").c_str(), b.pixels(), 100, 100));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              path("pil_sample_cmyk.jpg") + ": Unsupported color conversion request\n");
    EXPECT_EQ(b.pixel(50, 50), 7u);
}

TEST_F(JpegCorpus, TruncatedDecodesWithTheLibrarysWarning)
{
    Bitmap b(100, 100);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(decodeJpegFile(path("truncated_jpeg.jpg").c_str(), b.pixels(), 100, 100));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              path("truncated_jpeg.jpg") + ": cut short (Premature end of JPEG file), decoded what is there\n");
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        ASSERT_EQ(b.pixels()[i] >> 24, 0xFFu);
}

// The same picture stored baseline, progressive and arithmetic-coded.
TEST_F(JpegCorpus, ProgressiveAndArithmeticFilesDecodeLikeTheBaselineOne)
{
    Bitmap baseline(227, 149);
    ASSERT_TRUE(decodeJpegFile(path("testorig.jpg").c_str(), baseline.pixels(), 227, 149));
    for (const char* name : {"testimgp.jpg", "testimgari.jpg"}) {
        Bitmap other(227, 149);
        ASSERT_TRUE(decodeJpegFile(path(name).c_str(), other.pixels(), 227, 149)) << name;
        long total = 0;
        int most = 0;
        for (std::size_t i = 0; i < other.pixelCount(); ++i) {
            const int d = largestByteDifference(other.pixels()[i], baseline.pixels()[i]);
            total += d;
            most = std::max(most, d);
            ASSERT_EQ(other.pixels()[i] >> 24, 0xFFu);
        }
        EXPECT_LE(most, 24) << name;
        EXPECT_LE(total / static_cast<long>(other.pixelCount()), 2) << name;
    }
}

} // namespace
} // namespace zov
