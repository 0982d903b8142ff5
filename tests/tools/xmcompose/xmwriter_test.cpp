#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

namespace zov {
namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}

unsigned read16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b.at(at) | (b.at(at + 1) << 8);
}

std::string text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n)
{
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
}

// Two channels, one 4-row pattern, one instrument with a looped 32-frame square.
XmModule tinyModule()
{
    XmModule m;
    m.name = "tiny";
    m.channels = 2;
    m.speed = 3;
    m.bpm = 150;
    m.orders = {0};
    m.patterns.emplace_back(4, 2);
    m.patterns[0].at(0, 0) = XmCell{49, 1, 0x50, 0xF, 0x06};
    m.patterns[0].at(2, 1) = XmCell{61, 1, 0, 0, 0};
    XmInstrument in;
    in.name = "square";
    XmSample s;
    s.name = "square";
    for (int i = 0; i < 32; ++i)
        s.frames.push_back(i < 16 ? 12000 : -12000);
    s.loop = XmLoop::Forward;
    s.loopLength = 32;
    s.relativeNote = 0;
    in.samples.push_back(s);
    in.volumeEnvelope.points = {{0, 64}, {10, 32}};
    in.volumeEnvelope.enabled = true;
    in.volumeEnvelope.sustain = 1;
    in.fadeout = 0x100;
    m.instruments.push_back(in);
    return m;
}

TEST(XmWriter, HeaderHoldsTheFieldsAtTheirOffsets)
{
    XmModule m = tinyModule();
    m.orders = {0, 0, 0};
    m.restartPosition = 2;
    const std::vector<std::uint8_t> b = encodeXm(m);
    EXPECT_EQ(text(b, 0, 17), "Extended Module: ");
    EXPECT_EQ(text(b, 17, 20), "tiny                "); // spaces, not NULs
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(text(b, 38, 20), "FastTracker v2.00   ");
    EXPECT_EQ(read16(b, 58), 0x0104u);
    EXPECT_EQ(read32(b, 60), 276u);
    EXPECT_EQ(read16(b, 64), 3u); // song length
    EXPECT_EQ(read16(b, 66), 2u); // restart
    EXPECT_EQ(read16(b, 68), 2u); // channels
    EXPECT_EQ(read16(b, 70), 1u); // patterns
    EXPECT_EQ(read16(b, 72), 1u); // instruments
    EXPECT_EQ(read16(b, 74), 1u); // linear table
    EXPECT_EQ(read16(b, 76), 3u);
    EXPECT_EQ(read16(b, 78), 150u);
    for (std::size_t i = 80; i < 336; ++i)
        ASSERT_EQ(b[i], 0) << "order table byte " << i;
    // The first pattern header follows the 256-byte order table.
    EXPECT_EQ(read32(b, 336), 9u);
    EXPECT_EQ(b[340], 0);
    EXPECT_EQ(read16(b, 341), 4u);
}

TEST(XmWriter, CellsPackOnlyTheFieldsTheyHave)
{
    XmPattern p(2, 2);
    p.at(0, 0) = XmCell{49, 2, 0x40, 0xC, 0x20}; // all five: raw form
    p.at(0, 1) = XmCell{kXmNoteOff, 0, 0, 0, 0};
    p.at(1, 1) = XmCell{0, 0, 0, 0xA, 0x0F}; // effect, parameter
    const std::vector<std::uint8_t> expected = {49,   2,    0x40, 0xC, 0x20, // row 0 ch 0
                                                0x81, 97,                    // row 0 ch 1
                                                0x80,                        // row 1 ch 0
                                                0x98, 0xA,  0x0F};           // row 1 ch 1
    EXPECT_EQ(packPattern(p), expected);

    // Arpeggio 0xy has effect type 0 with a parameter: only the parameter bit.
    XmPattern arp(1, 2);
    arp.at(0, 0).param = 0x37;
    EXPECT_EQ(packPattern(arp), (std::vector<std::uint8_t>{0x90, 0x37, 0x80}));
}

TEST(XmWriter, SamplesAreStoredAsWrappingDifferences)
{
    EXPECT_EQ(deltaEncode({10, -10, 127, -128}, false), (std::vector<std::uint8_t>{10, 0xEC, 0x89, 0x01}));
    EXPECT_EQ(deltaEncode({1000, -32768, 32767}, true),
              (std::vector<std::uint8_t>{0xE8, 0x03, 0x18, 0x7C, 0xFF, 0xFF}));

    // A reader's running sum in 16 bits gives back every frame.
    std::vector<std::int16_t> frames;
    std::uint32_t x = 12345;
    for (int i = 0; i < 1000; ++i) {
        x = x * 1103515245u + 12345u;
        frames.push_back(static_cast<std::int16_t>(x >> 16));
    }
    const std::vector<std::uint8_t> stored = deltaEncode(frames, true);
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        sum = static_cast<std::uint16_t>(sum + (stored[2 * i] | (stored[2 * i + 1] << 8)));
        ASSERT_EQ(static_cast<std::int16_t>(sum), frames[i]) << "frame " << i;
    }
}

TEST(XmWriter, InstrumentAndSampleHeadersFollowThePatterns)
{
    const XmModule m = tinyModule();
    const std::vector<std::uint8_t> b = encodeXm(m);
    const std::size_t packed = read16(b, 343);
    const std::size_t in = 336 + 9 + packed;
    EXPECT_EQ(read32(b, in), 263u);
    EXPECT_EQ(text(b, in + 4, 22), "square                ");
    EXPECT_EQ(read16(b, in + 27), 1u);  // samples
    EXPECT_EQ(read32(b, in + 29), 40u); // sample header size
    EXPECT_EQ(read16(b, in + 129 + 4), 10u); // second envelope point: tick 10, value 32
    EXPECT_EQ(read16(b, in + 129 + 6), 32u);
    EXPECT_EQ(b[in + 225], 2);    // volume points
    EXPECT_EQ(b[in + 227], 1);    // sustain point
    EXPECT_EQ(b[in + 233], 1 | 2); // on, sustain
    EXPECT_EQ(read16(b, in + 239), 0x100u);

    const std::size_t sh = in + 263;
    EXPECT_EQ(read32(b, sh), 64u);     // 32 frames of 16 bits, in bytes
    EXPECT_EQ(read32(b, sh + 4), 0u);  // loop start
    EXPECT_EQ(read32(b, sh + 8), 64u); // loop length in bytes
    EXPECT_EQ(b[sh + 12], 64);
    EXPECT_EQ(b[sh + 14], 0x11); // forward loop, 16-bit
    EXPECT_EQ(b[sh + 17], 0);    // not ADPCM
    EXPECT_EQ(b.size(), sh + 40 + 64);
}

TEST(XmWriter, InstrumentWithoutSamplesIsTheShortHeader)
{
    XmModule m = tinyModule();
    m.instruments.push_back(XmInstrument{});
    m.instruments.back().name = "empty";
    const std::vector<std::uint8_t> b = encodeXm(m);
    ASSERT_GE(b.size(), 33u);
    const std::size_t at = b.size() - 33;
    EXPECT_EQ(read32(b, at), 33u);
    EXPECT_EQ(read16(b, at + 27), 0u);
    // libopenmpt walks past it without complaint.
    openmpt::module mod(b);
    EXPECT_EQ(mod.get_num_instruments(), 2);
    EXPECT_EQ(mod.get_metadata("warnings"), "");
}

TEST(XmWriter, LibopenmptReadsWhatWasWritten)
{
    XmModule m = tinyModule();
    m.patterns.emplace_back(8, 2);
    m.orders = {0, 1};
    m.restartPosition = 1;
    const std::vector<std::uint8_t> b = encodeXm(m);
    std::ostringstream log;
    openmpt::module mod(b, log);
    EXPECT_EQ(mod.get_metadata("tracker"), "FastTracker 2 or compatible");
    EXPECT_EQ(mod.get_metadata("warnings"), "");
    EXPECT_EQ(mod.get_num_orders(), 2);
    EXPECT_EQ(mod.get_num_patterns(), 2);
    EXPECT_EQ(mod.get_num_channels(), 2);
    EXPECT_EQ(mod.get_pattern_num_rows(1), 8);
    // libopenmpt names notes an octave above FT2 and shows volumes in hex.
    EXPECT_EQ(mod.format_pattern_row_channel(0, 0, 0), "C-5 01v40 F06");
    EXPECT_EQ(mod.format_pattern_row_channel(0, 2, 1), "C-6 01 .. ...");
    // The F06 on the first row doubles the header's speed of 3.
    EXPECT_NEAR(mod.get_duration_seconds(), 12 * 6 * 2.5 / 150, 1e-6);

    // With looping on, the song goes back to the restart order, not order 0.
    mod.set_repeat_count(-1);
    std::vector<float> buf(2 * 256);
    std::vector<int> orders;
    for (int i = 0; i < 400; ++i) {
        mod.read_interleaved_stereo(44100, 256, buf.data());
        if (orders.empty() || orders.back() != mod.get_current_order())
            orders.push_back(mod.get_current_order());
    }
    ASSERT_GE(orders.size(), 2u);
    EXPECT_EQ(orders[0], 0);
    for (std::size_t i = 1; i < orders.size(); ++i)
        EXPECT_EQ(orders[i], 1);
}

struct Refusal {
    const char* what;
    std::function<void(XmModule&)> change;
    const char* message;
};

TEST(XmWriter, RefusesWhatTheFormatCannotHold)
{
    const Refusal cases[] = {
        {"257 orders", [](XmModule& m) { m.orders.assign(257, 0); }, "order count"},
        {"no orders", [](XmModule& m) { m.orders.clear(); }, "order count"},
        {"order beyond the patterns", [](XmModule& m) { m.orders = {1}; }, "order 0 pattern"},
        {"257 patterns", [](XmModule& m) { m.patterns.assign(257, XmPattern(1, 2)); }, "pattern count"},
        {"257 rows", [](XmModule& m) { m.patterns[0] = XmPattern(257, 2); }, "pattern 0 rows"},
        {"0 rows", [](XmModule& m) { m.patterns[0] = XmPattern(0, 2); }, "pattern 0 rows"},
        {"pattern of another width", [](XmModule& m) { m.patterns[0] = XmPattern(4, 4); }, "channels"},
        {"129 instruments", [](XmModule& m) { m.instruments.assign(129, m.instruments[0]); }, "instrument count"},
        {"odd channels", [](XmModule& m) { m.channels = 3; }, "odd"},
        {"34 channels", [](XmModule& m) { m.channels = 34; }, "channel count"},
        {"restart past the end", [](XmModule& m) { m.restartPosition = 1; }, "restart position"},
        {"speed 0", [](XmModule& m) { m.speed = 0; }, "speed"},
        {"BPM 31", [](XmModule& m) { m.bpm = 31; }, "BPM"},
        {"long name", [](XmModule& m) { m.name = std::string(21, 'x'); }, "module name"},
        {"note 98", [](XmModule& m) { m.patterns[0].at(1, 0).note = 98; }, "note 98"},
        {"missing instrument", [](XmModule& m) { m.patterns[0].at(1, 0).instrument = 2; }, "instrument 2"},
        {"volume byte 0x51", [](XmModule& m) { m.patterns[0].at(1, 0).volume = 0x51; }, "volume column"},
        {"effect 36", [](XmModule& m) { m.patterns[0].at(1, 0).effect = 36; }, "effect type"},
        {"F00", [](XmModule& m) { m.patterns[0].at(1, 0).effect = 0xF; }, "F00"},
        {"17 samples", [](XmModule& m) { m.instruments[0].samples.assign(17, m.instruments[0].samples[0]); },
         "sample count"},
        {"map to a missing sample", [](XmModule& m) { m.instruments[0].sampleForNote[40] = 1; }, "missing sample"},
        {"13 envelope points",
         [](XmModule& m) {
             auto& e = m.instruments[0].volumeEnvelope;
             e.points.clear();
             for (int i = 0; i < 13; ++i)
                 e.points.push_back({i * 2, 32});
         },
         "point count"},
        {"envelope not from 0", [](XmModule& m) { m.instruments[0].volumeEnvelope.points[0].tick = 1; }, "tick 0"},
        {"envelope going back", [](XmModule& m) { m.instruments[0].volumeEnvelope.points[1].tick = 0; },
         "increase"},
        {"envelope value 65", [](XmModule& m) { m.instruments[0].volumeEnvelope.points[1].value = 65; },
         "envelope value"},
        {"sustain past the points", [](XmModule& m) { m.instruments[0].volumeEnvelope.sustain = 2; }, "sustain"},
        {"half a loop", [](XmModule& m) { m.instruments[0].volumeEnvelope.loopStart = 0; }, "both ends"},
        {"fadeout 0x1000", [](XmModule& m) { m.instruments[0].fadeout = 0x1000; }, "fadeout"},
        {"loop past the end", [](XmModule& m) { m.instruments[0].samples[0].loopStart = 1; }, "beyond"},
        {"empty loop", [](XmModule& m) { m.instruments[0].samples[0].loopLength = 0; }, "zero frames"},
        {"8-bit frame 200",
         [](XmModule& m) {
             auto& s = m.instruments[0].samples[0];
             s.sixteenBit = false;
             s.frames.assign(32, 100);
             s.frames[5] = 200;
         },
         "8-bit frame"},
        {"sample volume 65", [](XmModule& m) { m.instruments[0].samples[0].volume = 65; }, "volume"},
        {"finetune 128", [](XmModule& m) { m.instruments[0].samples[0].finetune = 128; }, "finetune"},
        {"relative note 96", [](XmModule& m) { m.instruments[0].samples[0].relativeNote = 96; }, "relative note"},
        {"long sample name", [](XmModule& m) { m.instruments[0].samples[0].name = std::string(23, 's'); },
         "name length"},
    };
    EXPECT_NO_THROW(encodeXm(tinyModule()));
    for (const Refusal& c : cases) {
        XmModule m = tinyModule();
        c.change(m);
        try {
            encodeXm(m);
            ADD_FAILURE() << c.what << " was written";
        } catch (const XmError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.what << ": \"" << e.what() << "\"";
        }
    }
}

TEST(XmWriter, TheLargestPatternFitsItsSizeField)
{
    XmModule m = tinyModule();
    m.channels = 32;
    m.patterns[0] = XmPattern(256, 32);
    for (int r = 0; r < 256; ++r)
        for (int ch = 0; ch < 32; ++ch)
            m.patterns[0].at(r, ch) = XmCell{49, 1, 0x40, 0xC, 0x20};
    const std::vector<std::uint8_t> b = encodeXm(m);
    EXPECT_EQ(read16(b, 336 + 7), 256u * 32u * 5u);
    openmpt::module mod(b);
    EXPECT_EQ(mod.get_pattern_num_rows(0), 256);
    EXPECT_EQ(mod.format_pattern_row_channel(0, 255, 31), "C-5 01v30 C20");
}

class XmFile : public ::testing::Test {
protected:
    // One file per test: ctest runs tests in parallel processes.
    std::string path = std::string(ZOV_BINARY_DIR) + "/xmwriter_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xm";
    void TearDown() override
    {
        std::remove(path.c_str());
        std::remove((path + ".tmp").c_str());
    }
    std::vector<std::uint8_t> read() const
    {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
};

TEST_F(XmFile, WritesTheEncodedBytes)
{
    ASSERT_TRUE(writeXm(tinyModule(), path));
    EXPECT_EQ(read(), encodeXm(tinyModule()));
}

TEST_F(XmFile, FailuresLeaveNoHalfWrittenModule)
{
    ASSERT_TRUE(writeXm(tinyModule(), path));
    const std::vector<std::uint8_t> before = read();

    // A module the format refuses leaves the old file as it was.
    XmModule bad = tinyModule();
    bad.channels = 3;
    EXPECT_THROW(writeXm(bad, path), XmError);
    EXPECT_EQ(read(), before);

    // An unwritable place is reported, not claimed as written.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeXm(tinyModule(), std::string(ZOV_BINARY_DIR) + "/no/such/dir/x.xm"));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace zov
