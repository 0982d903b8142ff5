#include "image/Bitmap.h"
#include "image/PngFrameEncoder.h"
#include "image/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace zov;

namespace {

// Pixels of a PNG in memory as 0x00RRGGBB, or none when libpng refuses it.
std::vector<std::uint32_t> decode(const std::uint8_t* bytes, std::size_t size, int& width, int& height)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, size))
        return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(PNG_IMAGE_SIZE(image) / 4);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    for (std::uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

} // namespace

TEST(PngFrameEncoder, FramesDecodeToTheirPixelsOneAfterAnother)
{
    PngFrameEncoder encoder(37, 23);
    Bitmap frame(37, 23);
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        // Noise and flat stretches, byte 3 set: it is not written.
        for (std::size_t i = 0; i < frame.pixelCount(); ++i) {
            const std::uint32_t noise = seed * 2654435761u * (static_cast<std::uint32_t>(i) + 1);
            frame.pixels()[i] = i % 7 < 3 ? 0xFF102030u : noise | 0xAA000000u;
        }
        const std::span<const std::uint8_t> file = encoder.encode(frame);
        int width = 0, height = 0;
        const std::vector<std::uint32_t> pixels = decode(file.data(), file.size(), width, height);
        ASSERT_EQ(width, 37);
        ASSERT_EQ(height, 23);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(pixels[i], frame.pixels()[i] & 0xFFFFFF) << "pixel " << i << ", frame " << seed;
    }
    Bitmap other(36, 23);
    EXPECT_TRUE(encoder.encode(other).empty());
}

TEST(PngWriter, AFileWhoseLastBytesCannotBeWrittenIsAFailure)
{
    // A small picture fits the file's buffer: only the close finds the full disk.
    Bitmap tiny(2, 2);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writePng(tiny, "/dev/full"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot write /dev/full: No space left on device\n");
}
