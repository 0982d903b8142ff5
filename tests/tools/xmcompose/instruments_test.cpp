#include "tools/xmcompose/Instruments.h"
#include "tools/xmcompose/Score.h"
#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <numbers>
#include <sstream>

namespace zov {
namespace {

// FT2's pitch of a note (C-4 = 8363 / 32 Hz).
double noteHz(int note)
{
    return 8363.0 * std::pow(2.0, (note - 49) / 12.0) / 32.0;
}

// The power-weighted mean pitch, in cents from `expected`, of the Hann-windowed
// spectrum within +-60 cents of it. The pad's voices sit symmetrically about
// its note, so their mean is the note too.
double centsFrom(const std::vector<float>& mono, double expected)
{
    const std::size_t n = mono.size();
    std::vector<double> windowed(n);
    for (std::size_t i = 0; i < n; ++i)
        windowed[i] = mono[i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (n - 1)));
    double weighted = 0.0, total = 0.0;
    for (double cents = -60.0; cents <= 60.0; cents += 1.0) {
        // Goertzel: the power of one frequency without a sine per sample.
        const double coeff = 2.0 * std::cos(2.0 * std::numbers::pi * expected * std::pow(2.0, cents / 1200.0) / 44100.0);
        double s1 = 0.0, s2 = 0.0;
        for (double x : windowed) {
            const double s0 = x + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        weighted += cents * power;
        total += power;
    }
    return weighted / total;
}

// Each tonal instrument alone on one note; the played pitch must be the
// note's, whatever relative note and finetune the instrument was given.
TEST(ShowInstruments, TonalInstrumentsPlayInTune)
{
    struct Case {
        int instrument;
        const char* note;
    };
    const Case cases[] = {{kBass, "A1"}, {kBass, "A2"}, {kBass, "D3"}, {kLead, "A4"}, {kLead, "E5"},
                          {kLead, "D6"}, {kPad, "A3"},  {kPad, "F4"},  {kPad, "A5"},  {kPluck, "A5"},
                          {kFlute, "A5"}};
    XmModule m;
    m.name = "tuning";
    m.channels = 2;
    m.instruments = makeShowInstruments();
    for (const Case& c : cases) {
        XmPattern p(32, 2);
        p.at(0, 0) = XmCell{static_cast<std::uint8_t>(noteNumber(c.note)), static_cast<std::uint8_t>(c.instrument),
                            0, 0, 0};
        m.orders.push_back(static_cast<int>(m.patterns.size()));
        m.patterns.push_back(p);
    }
    const std::vector<std::uint8_t> bytes = encodeXm(m);
    std::ostringstream log;
    openmpt::module mod(bytes, log);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        mod.set_position_order_row(static_cast<int>(i), 0);
        std::vector<float> stereo(2 * 44100);
        mod.read_interleaved_stereo(44100, 44100, stereo.data());
        // Skip the attack, keep most of a second.
        std::vector<float> mono;
        for (std::size_t f = 4410; f < 44100; ++f)
            mono.push_back(stereo[2 * f] + stereo[2 * f + 1]);
        const double cents = centsFrom(mono, noteHz(noteNumber(cases[i].note)));
        EXPECT_LE(std::fabs(cents), 3.0) << "instrument " << cases[i].instrument << " on " << cases[i].note;
    }
}

TEST(ShowInstruments, SamplesAreWholeAndLoopsSeamless)
{
    const std::vector<XmInstrument> all = makeShowInstruments();
    ASSERT_EQ(static_cast<int>(all.size()), kShowInstrumentCount);
    for (const XmInstrument& in : all) {
        for (const XmSample& s : in.samples) {
            ASSERT_FALSE(s.frames.empty()) << in.name;
            EXPECT_EQ(s.finetune % 8, 0) << in.name;
            int peak = 0;
            for (std::int16_t f : s.frames)
                peak = std::max(peak, std::abs(static_cast<int>(f)));
            EXPECT_GT(peak, 16000) << in.name; // uses its bits
            if (s.loop == XmLoop::None) {
                // One-shots end at rest, so cutting them off does not click.
                EXPECT_LT(std::abs(s.frames.back()), 300) << in.name;
                continue;
            }
            // Across the loop seam the wave moves no more than it does inside.
            const std::size_t first = s.loopStart;
            const std::size_t last = s.loopStart + s.loopLength - 1;
            int largestStep = 0;
            for (std::size_t i = first + 1; i <= last; ++i)
                largestStep = std::max(largestStep, std::abs(s.frames[i] - s.frames[i - 1]));
            EXPECT_LE(std::abs(s.frames[first] - s.frames[last]), largestStep) << in.name;
        }
    }
}

} // namespace
} // namespace zov
