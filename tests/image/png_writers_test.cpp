#include "image/Bitmap.h"
#include "image/FastDeflate.h"
#include "image/PngFrameEncoder.h"
#include "image/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

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

TEST(FastDeflate, ZlibInflatesWhatItWrites)
{
    std::vector<std::vector<std::uint8_t>> inputs;
    inputs.push_back(std::vector<std::uint8_t>(100000, 0));                 // one long run
    inputs.push_back({7});                                                  // one literal
    std::vector<std::uint8_t> mixed;
    std::uint32_t seed = 12345;
    for (int run = 1; run <= 600; ++run) { // runs of every length around the 3 and 258 edges, and noise
        seed = seed * 1664525u + 1013904223u;
        mixed.insert(mixed.end(), static_cast<std::size_t>(run % 300), static_cast<std::uint8_t>(seed >> 24));
        for (int i = 0; i < run % 5; ++i)
            mixed.push_back(static_cast<std::uint8_t>((seed >> (i * 3)) & 0xFF));
    }
    inputs.push_back(mixed);
    for (const std::vector<std::uint8_t>& input : inputs) {
        std::vector<std::uint8_t> packed(fastDeflateBound(input.size()));
        packed.resize(fastDeflate(input, packed.data()));
        std::vector<std::uint8_t> back(input.size() + 1);
        uLongf size = static_cast<uLongf>(back.size());
        ASSERT_EQ(uncompress(back.data(), &size, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
        back.resize(size);
        EXPECT_TRUE(back == input) << input.size() << " bytes";
    }
}

TEST(FastDeflate, CodeLengthsStayWithinTheLimitAndMakeACompleteCode)
{
    // Fibonacci counts would need codes 30 bits long.
    std::uint32_t counts[32] = {};
    counts[0] = counts[1] = 1;
    for (int i = 2; i < 31; ++i)
        counts[i] = counts[i - 1] + counts[i - 2];
    std::uint8_t lengths[32];
    huffmanLengths(counts, 32, 15, lengths);
    double kraft = 0;
    for (int i = 0; i < 31; ++i) {
        ASSERT_GE(lengths[i], 1);
        ASSERT_LE(lengths[i], 15);
        kraft += 1.0 / static_cast<double>(1 << lengths[i]);
    }
    EXPECT_EQ(lengths[31], 0); // unused
    EXPECT_EQ(kraft, 1.0);
    EXPECT_GE(lengths[0], lengths[30]); // the rarest gets the longest code
}
