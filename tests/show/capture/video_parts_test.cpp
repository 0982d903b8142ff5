#include "show/capture/FrameRate.h"
#include "show/capture/FrameRing.h"
#include "show/capture/LockstepShow.h"
#include "show/capture/VideoFramePacker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace zov;

namespace {

struct Yuv {
    int y, cb, cr;
};

// The 4:2:0 planes of a frame packed at scale: sample (x, y) of each plane.
struct Planes {
    std::vector<std::uint8_t> bytes;
    int width, height;
    Yuv at(int x, int y) const
    {
        const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
        const std::size_t chroma = static_cast<std::size_t>(y / 2) * (w / 2) + static_cast<std::size_t>(x / 2);
        return {bytes[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)], bytes[w * h + chroma],
                bytes[w * h + w * h / 4 + chroma]};
    }
};

Planes packYuv(const std::vector<std::uint32_t>& frame, int width, int height, int scale)
{
    VideoFramePacker packer(width, height, scale, VideoFramePacker::Pixels::Yuv420);
    Planes planes{std::vector<std::uint8_t>(packer.packedBytes()), packer.outputWidth(), packer.outputHeight()};
    packer.pack(frame.data(), planes.bytes.data());
    return planes;
}

Yuv colourOf(std::uint32_t pixel)
{
    return packYuv(std::vector<std::uint32_t>(4, pixel), 2, 2, 1).at(0, 0);
}

} // namespace

TEST(FrameRate, ReadsWholeAndFractionalRatesInLowestTerms)
{
    struct Case {
        const char* text;
        std::int64_t num, den; // 0: refused
    };
    const Case cases[] = {{"60", 60, 1},          {"60000/1001", 60000, 1001}, {"120/2", 60, 1},
                          {"1000", 1000, 1},      {"1/1", 1, 1},               {"30000/1001", 30000, 1001},
                          {"0", 0, 0},            {"1001", 0, 0},              {"1/2", 0, 0},
                          {"60/0", 0, 0},         {"60/", 0, 0},               {"/1001", 0, 0},
                          {"59.94", 0, 0},        {"-60", 0, 0},               {"60 ", 0, 0},
                          {"60000/1001/2", 0, 0}, {"", 0, 0},                  {"99999999999999999999", 0, 0}};
    for (const Case& c : cases) {
        const std::optional<FrameRate> rate = FrameRate::parse(c.text, 1, 1000);
        ASSERT_EQ(rate.has_value(), c.num != 0) << c.text;
        if (rate) {
            EXPECT_EQ(rate->num, c.num) << c.text;
            EXPECT_EQ(rate->den, c.den) << c.text;
        }
    }
    EXPECT_EQ(FrameRate::parse("60000/1001", 1, 1000)->text(), "60000/1001");
    EXPECT_EQ(FrameRate(25).text(), "25");
}

TEST(FrameRate, AFrameFallsOnTheSampleAndTickOfItsExactTime)
{
    const FrameRate ntsc = *FrameRate::parse("60000/1001", 1, 1000);
    // Frame k at sample k * 44100 * 1001 / 60000, rounded down, the fraction
    // carried: 735.735 samples a frame.
    for (const std::int64_t k : {0, 1, 2, 3, 1000, 60000, 5'400'000})
        EXPECT_EQ(LockstepShow::samplesBefore(k, ntsc), k * 44100 * 1001 / 60000) << k;
    std::int64_t shortest = 1'000'000, longest = 0;
    for (std::int64_t k = 0; k < 1000; ++k) {
        const std::int64_t n = LockstepShow::samplesBefore(k + 1, ntsc) - LockstepShow::samplesBefore(k, ntsc);
        shortest = std::min(shortest, n);
        longest = std::max(longest, n);
    }
    EXPECT_EQ(shortest, 735);
    EXPECT_EQ(longest, 736);
    // Two days of frames on a nanosecond clock: past 64 bits on the way.
    EXPECT_EQ(ntsc.timeOf(10'000'000, 1'000'000'000), 166'833'333'333'333);
    EXPECT_EQ(FrameRate(60).timeOf(7, 1'000'000), 116'666);
}

TEST(VideoFramePacker, ConvertsToBt709LimitedRange)
{
    struct Case {
        std::uint32_t pixel;
        Yuv yuv;
    };
    const Case cases[] = {{0x000000, {16, 128, 128}}, {0xFFFFFF, {235, 128, 128}}, {0xFF0000, {63, 102, 240}},
                          {0x00FF00, {173, 42, 26}},  {0x0000FF, {32, 240, 118}},  {0x808080, {126, 128, 128}}};
    for (const Case& c : cases) {
        const Yuv got = colourOf(c.pixel);
        EXPECT_EQ(got.y, c.yuv.y) << std::hex << c.pixel;
        EXPECT_EQ(got.cb, c.yuv.cb) << std::hex << c.pixel;
        EXPECT_EQ(got.cr, c.yuv.cr) << std::hex << c.pixel;
    }
    // Unscaled, a chroma sample is that of the mean of its 2x2 pixels.
    const Planes mixed = packYuv({0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF}, 2, 2, 1);
    const Yuv purple = colourOf(0x800080);
    EXPECT_NEAR(mixed.at(0, 0).cb, purple.cb, 1);
    EXPECT_NEAR(mixed.at(0, 0).cr, purple.cr, 1);
}

TEST(VideoFramePacker, EnlargedTwoOrThreeTimesEveryPixelKeepsItsColourThroughFourTwoZero)
{
    const int width = 6, height = 4;
    std::mt19937 random(7);
    std::vector<std::uint32_t> frame(width * height);
    for (std::uint32_t& p : frame)
        p = random() & 0xFFFFFF;
    for (const int scale : {2, 3}) {
        const Planes planes = packYuv(frame, width, height, scale);
        ASSERT_EQ(planes.width, width * scale);
        ASSERT_EQ(planes.height, height * scale);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Yuv own = colourOf(frame[static_cast<std::size_t>(y * width + x)]);
                // Every output pixel of the square has its Y; the chroma block
                // at the first even place inside the square has its colour.
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        ASSERT_EQ(planes.at(x * scale + dx, y * scale + dy).y, own.y);
                const Yuv block = planes.at((x * scale + 1) & ~1, (y * scale + 1) & ~1);
                EXPECT_EQ(block.cb, own.cb) << scale << " at " << x << "," << y;
                EXPECT_EQ(block.cr, own.cr) << scale << " at " << x << "," << y;
            }
    }

    // RGB is copied as it is, each pixel made a square.
    VideoFramePacker rgb(2, 1, 3, VideoFramePacker::Pixels::Bgr0);
    std::vector<std::uint32_t> out(rgb.packedBytes() / 4);
    const std::uint32_t pair[2] = {0x123456, 0xABCDEF};
    rgb.pack(pair, reinterpret_cast<std::uint8_t*>(out.data()));
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], i % 6 < 3 ? 0x123456u : 0xABCDEFu) << i;
}

TEST(FrameRing, HandsOverEveryFrameInOrderAndStopsWhenTheConsumerFails)
{
    std::vector<std::uint32_t> seen;
    FrameRing ring(2, 3, [&seen](const std::uint32_t* p) {
        seen.push_back(p[0] + p[1]);
        return true;
    });
    std::uint32_t frame[2] = {0, 0};
    for (std::uint32_t i = 0; i < 100; ++i) {
        frame[0] = i;
        frame[1] = 1000 * i; // both halves of one frame, not of two
        ASSERT_TRUE(ring.push(frame));
    }
    EXPECT_TRUE(ring.finish());
    ASSERT_EQ(seen.size(), 100u);
    for (std::uint32_t i = 0; i < 100; ++i)
        EXPECT_EQ(seen[i], 1001 * i);
    EXPECT_EQ(ring.framesConsumed(), 100);

    FrameRing failing(1, 2, [](const std::uint32_t* p) { return p[0] < 5; });
    bool accepted = true;
    for (std::uint32_t i = 0; i < 100 && accepted; ++i)
        accepted = failing.push(&i);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(failing.finish());
}
