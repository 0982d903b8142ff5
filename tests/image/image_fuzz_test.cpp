#include "image/Bitmap.h"
#include "image/JpegDecoder.h"
#include "image/PcxDecoder.h"
#include "tests/image/BitmapTestUtil.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

// Damaged and hostile files through the decoders under a fixed seed: they
// must neither crash nor touch memory outside their buffers (run under
// AddressSanitizer to see the second).
namespace zov {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes mutate(Bytes bytes, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const std::size_t at = rng() % bytes.size();
        switch (rng() % 4) {
        case 0: bytes[at] = static_cast<std::uint8_t>(rng()); break;
        case 1: bytes[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
        case 2: bytes.resize(at); break;
        default: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), rng() % 16, 0xFF); break;
        }
    }
    return bytes;
}

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(ImageFuzz, PcxDecoderSurvivesDamagedData)
{
    std::mt19937 rng(20240601);
    std::vector<Bytes> seeds;
    for (int i = 0; i < 4; ++i) {
        auto b = test::randomBitmap(3 + i * 5, 2 + i * 3, rng);
        for (std::size_t p = 0; p < b->pixelCount(); p += 1 + rng() % 3)
            b->pixels()[p] = 0x00C0C0C0; // runs
        seeds.push_back(encodePcx(*b));
    }
    for (int i = 0; i < 3000; ++i) {
        const Bytes bytes = (i % 10 == 9) ? Bytes(rng() % 400, static_cast<std::uint8_t>(rng()))
                                          : mutate(seeds[rng() % seeds.size()], rng);
        // The stated size need not match the file, nor the target's.
        const int w = static_cast<int>(rng() % 24), h = static_cast<int>(rng() % 20);
        Bitmap target(static_cast<int>(rng() % 24), static_cast<int>(rng() % 20));
        decodePcxBytes(bytes.data(), bytes.size(), target, w, h, rng() % 2 == 0);
    }
}

TEST(ImageFuzz, JpegDecoderSurvivesDamagedData)
{
    std::mt19937 rng(77);
    std::vector<Bytes> seeds;
    for (int i = 0; i < 2; ++i) {
        auto b = test::randomBitmap(17 + i * 8, 9 + i * 8, rng);
        const std::string path = testing::TempDir() + "/fuzz_seed.jpg";
        ASSERT_TRUE(writeJpeg(*b, path, 50 + 40 * i));
        seeds.push_back(readFile(path));
    }
    const std::filesystem::path corpus = std::filesystem::path(ZOV_CORPUS_DIR) / "jpeg";
    for (const char* name : {"testimgp.jpg", "hopper_gray.jpg", "testimgari.jpg"})
        if (std::filesystem::exists(corpus / name))
            seeds.push_back(readFile(corpus / name));

    testing::internal::CaptureStderr(); // the library has much to say
    for (int i = 0; i < 400; ++i) {
        Bytes bytes = mutate(seeds[rng() % seeds.size()], rng);
        if (bytes.empty())
            bytes.push_back(0);
        std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
        ASSERT_NE(file, nullptr);
        const int w = static_cast<int>(rng() % 40), h = static_cast<int>(rng() % 40);
        const auto picture = decodeJpeg(file, w, h);
        if (picture) {
            EXPECT_LE(picture->width, w);
            EXPECT_LE(picture->height, h);
        }
    }
    testing::internal::GetCapturedStderr();
}

} // namespace
} // namespace zov
