#include "platform/PixelConverter.h"

#include "image/Bitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace zov;

namespace {

const std::uint32_t kRed = 0x00FF0000, kGreen = 0x0000FF00, kBlue = 0x000000FF;
// Channel values whose low bits a 16-bit format must drop and whose top byte
// only the straight 32-bit copy keeps.
const std::uint32_t kMixed = 0xAB8C4A27;

std::uint16_t read16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint16_t v;
    std::memcpy(&v, bytes.data() + at, 2);
    return v;
}

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

std::vector<std::uint8_t> convert(const ScreenFormat& format, const std::vector<std::uint32_t>& pixels)
{
    PixelConverter c = selectConverter(format);
    EXPECT_NE(c, nullptr);
    std::vector<std::uint8_t> out(pixels.size() * 4 + 1, 0xEE);
    if (c)
        c(pixels.data(), out.data(), static_cast<int>(pixels.size()));
    return out;
}

} // namespace

TEST(PixelConverter, ThirtyTwoBitFormats)
{
    const std::vector<std::uint32_t> px{kRed, kBlue, kMixed};
    auto same = convert({32, 0xFF0000, 0xFF00, 0xFF}, px);
    EXPECT_EQ(read32(same, 0), kRed);
    EXPECT_EQ(read32(same, 8), kMixed); // all four bytes, top byte included

    auto swapped = convert({32, 0xFF, 0xFF00, 0xFF0000}, px);
    EXPECT_EQ(read32(swapped, 0), 0x000000FFu);
    EXPECT_EQ(read32(swapped, 4), 0x00FF0000u);
    EXPECT_EQ(read32(swapped, 8), 0x00274A8Cu); // channels swapped, top byte 0
}

TEST(PixelConverter, TwentyFourBitWritesThreeBytesPerPixel)
{
    const std::vector<std::uint32_t> px{kMixed, kRed};
    auto bgr = convert({24, 0xFF0000, 0xFF00, 0xFF}, px);
    EXPECT_EQ((std::vector<std::uint8_t>(bgr.begin(), bgr.begin() + 7)),
              (std::vector<std::uint8_t>{0x27, 0x4A, 0x8C, 0x00, 0x00, 0xFF, 0xEE}));
    auto rgb = convert({24, 0xFF, 0xFF00, 0xFF0000}, px);
    EXPECT_EQ((std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 7)),
              (std::vector<std::uint8_t>{0x8C, 0x4A, 0x27, 0xFF, 0x00, 0x00, 0xEE}));
}

TEST(PixelConverter, SixteenBitFormatsKeepTopBitsInTheirMasks)
{
    const std::vector<std::uint32_t> px{kRed, kGreen, kBlue, kMixed};
    auto rgb565 = convert({16, 0xF800, 0x7E0, 0x1F}, px);
    EXPECT_EQ(read16(rgb565, 0), 0xF800);
    EXPECT_EQ(read16(rgb565, 2), 0x07E0);
    EXPECT_EQ(read16(rgb565, 4), 0x001F);
    EXPECT_EQ(read16(rgb565, 6), (0x8C >> 3) << 11 | (0x4A >> 2) << 5 | (0x27 >> 3));

    auto bgr565 = convert({16, 0x1F, 0x7E0, 0xF800}, px);
    EXPECT_EQ(read16(bgr565, 0), 0x001F); // red lands in bits 0..4
    EXPECT_EQ(read16(bgr565, 2), 0x07E0);
    EXPECT_EQ(read16(bgr565, 4), 0xF800); // blue in bits 11..15
    EXPECT_EQ(read16(bgr565, 6), (0x27 >> 3) << 11 | (0x4A >> 2) << 5 | (0x8C >> 3));

    auto rgb555 = convert({16, 0x7C00, 0x3E0, 0x1F}, px);
    EXPECT_EQ(read16(rgb555, 0), 0x7C00);
    EXPECT_EQ(read16(rgb555, 2), 0x03E0);
    EXPECT_EQ(read16(rgb555, 4), 0x001F);
    EXPECT_EQ(read16(rgb555, 6), (0x8C >> 3) << 10 | (0x4A >> 3) << 5 | (0x27 >> 3));

    auto bgr555 = convert({16, 0x1F, 0x3E0, 0x7C00}, px);
    EXPECT_EQ(read16(bgr555, 0), 0x001F);
    EXPECT_EQ(read16(bgr555, 4), 0x7C00);
    EXPECT_EQ(read16(bgr555, 6), (0x27 >> 3) << 10 | (0x4A >> 3) << 5 | (0x8C >> 3));
    EXPECT_EQ(rgb555[8], 0xEE); // nothing past the last pixel
}

TEST(PixelConverter, UnknownFormatsHaveNoConverter)
{
    EXPECT_EQ(selectConverter({8, 0xE0, 0x1C, 0x3}), nullptr);
    EXPECT_EQ(selectConverter({32, 0xFF00, 0xFF0000, 0xFF}), nullptr);
    EXPECT_EQ(selectConverter({16, 0xF800, 0x7E0, 0x3F}), nullptr);
    EXPECT_EQ(selectConverter({24, 0xFF0000, 0xFF00, 0xFF00}), nullptr);
}

TEST(PixelConverter, RowsFollowThePitchNotTheWidth)
{
    Bitmap frame(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            frame.setPixel(x, y, static_cast<std::uint32_t>(0x010203 * (1 + x + 3 * y)));
    const int pitch = 16; // 9 bytes of pixels, then padding
    std::vector<std::uint8_t> dest(pitch * 2, 0xEE);
    convertRows(frame, selectConverter({24, 0xFF0000, 0xFF00, 0xFF}), dest.data(), pitch);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t v = frame.pixel(x, y);
            const std::uint8_t* p = dest.data() + y * pitch + 3 * x;
            EXPECT_EQ(p[0] | p[1] << 8 | p[2] << 16, static_cast<int>(v & 0xFFFFFF)) << x << "," << y;
        }
        for (int pad = 9; pad < pitch; ++pad)
            EXPECT_EQ(dest[y * pitch + pad], 0xEE);
    }
}
