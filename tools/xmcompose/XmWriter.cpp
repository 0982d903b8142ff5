#include "tools/xmcompose/XmWriter.h"

#include "tools/xmcompose/ByteWriter.h"

#include <cstdio>
#include <string>

namespace zov {

namespace {

constexpr int kHeaderSize = 276;       // from offset 60, order table included
constexpr int kInstrumentHeaderSize = 263;
constexpr int kEmptyInstrumentHeaderSize = 33;
constexpr int kSampleHeaderSize = 40;
constexpr int kMaxOrders = 256;
constexpr int kMaxPatterns = 256;
constexpr int kMaxRows = 256;
constexpr int kMaxInstruments = 128;
constexpr int kMaxSamples = 16;
constexpr int kMaxEnvelopePoints = 12;
constexpr int kMaxEffect = 35; // 'Z'

void check(bool ok, const std::string& what)
{
    if (!ok)
        throw XmError("xm: " + what);
}

std::string num(long long value)
{
    return std::to_string(value);
}

void checkRange(long long value, long long low, long long high, const std::string& what)
{
    check(value >= low && value <= high,
          what + " is " + num(value) + ", the format holds " + num(low) + ".." + num(high));
}

bool validVolumeColumn(int v)
{
    return v == 0 || (v >= 0x10 && v <= 0x50) || v >= 0x60;
}

void validateCell(const XmCell& c, int instruments, const std::string& where)
{
    check(c.note <= kXmNoteOff, where + ": note " + num(c.note) + " (1..96 or 97 for key off)");
    check(c.instrument <= instruments,
          where + ": instrument " + num(c.instrument) + " but the module has " + num(instruments));
    check(validVolumeColumn(c.volume), where + ": volume column byte " + num(c.volume));
    check(c.effect <= kMaxEffect, where + ": effect type " + num(c.effect) + " (0..35)");
    // F00 stops the song in FastTracker 2 and means nothing elsewhere.
    check(!(c.effect == 0xF && c.param == 0), where + ": effect F00");
}

void validatePattern(const XmPattern& p, int channels, int instruments, int index)
{
    const std::string name = "pattern " + num(index);
    checkRange(p.rows(), 1, kMaxRows, name + " rows");
    check(p.channels() == channels,
          name + " has " + num(p.channels()) + " channels, the module " + num(channels));
    for (int r = 0; r < p.rows(); ++r)
        for (int ch = 0; ch < channels; ++ch)
            validateCell(p.at(r, ch), instruments, name + " row " + num(r) + " channel " + num(ch));
    // The packed size always fits its 16-bit field: at most 256 rows x 32
    // channels x 5 bytes = 40960.
}

void validateEnvelope(const XmEnvelope& e, const std::string& name)
{
    const int n = static_cast<int>(e.points.size());
    checkRange(n, 0, kMaxEnvelopePoints, name + " point count");
    check(!e.enabled || n > 0, name + " is enabled but has no points");
    for (int i = 0; i < n; ++i) {
        checkRange(e.points[i].value, 0, 64, name + " value");
        checkRange(e.points[i].tick, 0, 0xFFFF, name + " tick");
        if (i == 0)
            check(e.points[0].tick == 0, name + " must start at tick 0");
        else
            check(e.points[i].tick > e.points[i - 1].tick, name + " ticks must increase");
    }
    checkRange(e.sustain, -1, n - 1, name + " sustain point");
    check((e.loopStart < 0) == (e.loopEnd < 0), name + " loop needs both ends");
    if (e.loopStart >= 0) {
        checkRange(e.loopEnd, 0, n - 1, name + " loop end");
        checkRange(e.loopStart, 0, e.loopEnd, name + " loop start");
    }
}

void validateSample(const XmSample& s, const std::string& name)
{
    checkRange(static_cast<long long>(s.name.size()), 0, 22, name + " name length");
    const long long frames = static_cast<long long>(s.frames.size());
    checkRange(frames * (s.sixteenBit ? 2 : 1), 0, 0x7FFFFFFF, name + " length in bytes");
    if (!s.sixteenBit)
        for (std::int16_t v : s.frames)
            if (v < -128 || v > 127)
                checkRange(v, -128, 127, name + " 8-bit frame");
    if (s.loop != XmLoop::None) {
        check(s.loopLength > 0, name + " loops over zero frames");
        check(static_cast<long long>(s.loopStart) + s.loopLength <= frames,
              name + " loop ends at " + num(static_cast<long long>(s.loopStart) + s.loopLength) +
                  " beyond its " + num(frames) + " frames");
    }
    checkRange(s.volume, 0, 64, name + " volume");
    checkRange(s.finetune, -128, 127, name + " finetune");
    checkRange(s.panning, 0, 255, name + " panning");
    checkRange(s.relativeNote, -96, 95, name + " relative note");
}

void validateInstrument(const XmInstrument& in, int index)
{
    const std::string name = "instrument " + num(index + 1);
    checkRange(static_cast<long long>(in.name.size()), 0, 22, name + " name length");
    const int samples = static_cast<int>(in.samples.size());
    checkRange(samples, 0, kMaxSamples, name + " sample count");
    for (int i = 0; i < samples; ++i)
        validateSample(in.samples[i], name + " sample " + num(i));
    for (std::uint8_t s : in.sampleForNote)
        check(s == 0 || s < samples, name + " maps a note to missing sample " + num(s));
    validateEnvelope(in.volumeEnvelope, name + " volume envelope");
    validateEnvelope(in.panningEnvelope, name + " panning envelope");
    checkRange(in.vibratoType, 0, 3, name + " vibrato type");
    checkRange(in.vibratoSweep, 0, 255, name + " vibrato sweep");
    checkRange(in.vibratoDepth, 0, 15, name + " vibrato depth");
    checkRange(in.vibratoRate, 0, 63, name + " vibrato rate");
    checkRange(in.fadeout, 0, 0xFFF, name + " fadeout");
}

void writeHeader(ByteWriter& out, const XmModule& m)
{
    out.text("Extended Module: ", 17, ' ');
    // Space padding and this tracker name make players pick FT2 replay.
    out.text(m.name, 20, ' ');
    out.u8(0x1A);
    out.text("FastTracker v2.00", 20, ' ');
    out.u16(0x0104);
    out.u32(kHeaderSize);
    out.u16(static_cast<unsigned>(m.orders.size()));
    out.u16(static_cast<unsigned>(m.restartPosition));
    out.u16(static_cast<unsigned>(m.channels));
    out.u16(static_cast<unsigned>(m.patterns.size()));
    out.u16(static_cast<unsigned>(m.instruments.size()));
    out.u16(m.linearFrequencies ? 1 : 0);
    out.u16(static_cast<unsigned>(m.speed));
    out.u16(static_cast<unsigned>(m.bpm));
    for (int order : m.orders)
        out.u8(static_cast<unsigned>(order));
    out.zeros(kMaxOrders - m.orders.size());
}

void writePattern(ByteWriter& out, const XmPattern& p)
{
    const std::vector<std::uint8_t> packed = packPattern(p);
    out.u32(9);
    out.u8(0);
    out.u16(static_cast<unsigned>(p.rows()));
    out.u16(static_cast<unsigned>(packed.size()));
    out.append(packed);
}

void writeEnvelope(ByteWriter& out, const XmEnvelope& e)
{
    for (const XmEnvelopePoint& p : e.points) {
        out.u16(static_cast<unsigned>(p.tick));
        out.u16(static_cast<unsigned>(p.value));
    }
    out.zeros(4 * (kMaxEnvelopePoints - e.points.size()));
}

unsigned envelopeFlags(const XmEnvelope& e)
{
    return (e.enabled ? 1u : 0u) | (e.sustain >= 0 ? 2u : 0u) | (e.loopStart >= 0 ? 4u : 0u);
}

unsigned pointOrZero(int index)
{
    return index < 0 ? 0u : static_cast<unsigned>(index);
}

void writeSampleHeader(ByteWriter& out, const XmSample& s)
{
    const std::uint32_t width = s.sixteenBit ? 2 : 1;
    const bool loops = s.loop != XmLoop::None;
    out.u32(static_cast<std::uint32_t>(s.frames.size()) * width);
    out.u32(loops ? s.loopStart * width : 0);
    out.u32(loops ? s.loopLength * width : 0);
    out.u8(static_cast<unsigned>(s.volume));
    out.u8(static_cast<unsigned>(s.finetune)); // two's complement byte
    out.u8(static_cast<unsigned>(s.loop) | (s.sixteenBit ? 0x10u : 0u));
    out.u8(static_cast<unsigned>(s.panning));
    out.u8(static_cast<unsigned>(s.relativeNote));
    out.u8(0); // 0xAD here would mean ADPCM
    out.text(s.name, 22, ' ');
}

void writeInstrument(ByteWriter& out, const XmInstrument& in)
{
    if (in.samples.empty()) {
        out.u32(kEmptyInstrumentHeaderSize);
        out.text(in.name, 22, ' ');
        out.u8(0);
        out.u16(0);
        out.u32(kSampleHeaderSize);
        return;
    }
    const std::size_t start = out.size();
    out.u32(kInstrumentHeaderSize);
    out.text(in.name, 22, ' ');
    out.u8(0);
    out.u16(static_cast<unsigned>(in.samples.size()));
    out.u32(kSampleHeaderSize);
    for (std::uint8_t s : in.sampleForNote)
        out.u8(s);
    writeEnvelope(out, in.volumeEnvelope);
    writeEnvelope(out, in.panningEnvelope);
    out.u8(static_cast<unsigned>(in.volumeEnvelope.points.size()));
    out.u8(static_cast<unsigned>(in.panningEnvelope.points.size()));
    for (const XmEnvelope* e : {&in.volumeEnvelope, &in.panningEnvelope}) {
        out.u8(pointOrZero(e->sustain));
        out.u8(pointOrZero(e->loopStart));
        out.u8(pointOrZero(e->loopEnd));
    }
    out.u8(envelopeFlags(in.volumeEnvelope));
    out.u8(envelopeFlags(in.panningEnvelope));
    out.u8(static_cast<unsigned>(in.vibratoType));
    out.u8(static_cast<unsigned>(in.vibratoSweep));
    out.u8(static_cast<unsigned>(in.vibratoDepth));
    out.u8(static_cast<unsigned>(in.vibratoRate));
    out.u16(static_cast<unsigned>(in.fadeout));
    out.zeros(kInstrumentHeaderSize - (out.size() - start));
    for (const XmSample& s : in.samples)
        writeSampleHeader(out, s);
    for (const XmSample& s : in.samples)
        out.append(deltaEncode(s.frames, s.sixteenBit));
}

} // namespace

std::vector<std::uint8_t> deltaEncode(const std::vector<std::int16_t>& frames, bool sixteenBit)
{
    std::vector<std::uint8_t> out;
    out.reserve(frames.size() * (sixteenBit ? 2 : 1));
    unsigned previous = 0;
    for (std::int16_t frame : frames) {
        const unsigned value = static_cast<std::uint16_t>(frame);
        const unsigned delta = (value - previous) & 0xFFFFu; // wraps like the reader's running sum
        out.push_back(static_cast<std::uint8_t>(delta & 0xFFu));
        if (sixteenBit)
            out.push_back(static_cast<std::uint8_t>(delta >> 8));
        previous = value;
    }
    return out;
}

std::vector<std::uint8_t> packPattern(const XmPattern& p)
{
    std::vector<std::uint8_t> out;
    for (int r = 0; r < p.rows(); ++r) {
        for (int ch = 0; ch < p.channels(); ++ch) {
            const XmCell& c = p.at(r, ch);
            const std::uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
            unsigned mask = 0;
            for (int i = 0; i < 5; ++i)
                if (fields[i] != 0)
                    mask |= 1u << i;
            // The packed form costs a byte more than raw only when all five are present.
            if (mask != 0x1F)
                out.push_back(static_cast<std::uint8_t>(0x80 | mask));
            for (int i = 0; i < 5; ++i)
                if (mask == 0x1F || fields[i] != 0)
                    out.push_back(fields[i]);
        }
    }
    return out;
}

void validateXm(const XmModule& m)
{
    checkRange(static_cast<long long>(m.name.size()), 0, 20, "module name length");
    check(m.channels % 2 == 0, "channel count " + num(m.channels) + " is odd");
    checkRange(m.channels, 2, 32, "channel count");
    checkRange(static_cast<long long>(m.orders.size()), 1, kMaxOrders, "order count");
    checkRange(static_cast<long long>(m.patterns.size()), 1, kMaxPatterns, "pattern count");
    checkRange(static_cast<long long>(m.instruments.size()), 0, kMaxInstruments, "instrument count");
    checkRange(m.restartPosition, 0, static_cast<long long>(m.orders.size()) - 1, "restart position");
    checkRange(m.speed, 1, 31, "speed");
    checkRange(m.bpm, 32, 255, "BPM");
    for (std::size_t i = 0; i < m.orders.size(); ++i)
        checkRange(m.orders[i], 0, static_cast<long long>(m.patterns.size()) - 1,
                   "order " + num(static_cast<long long>(i)) + " pattern");
    const int instruments = static_cast<int>(m.instruments.size());
    for (std::size_t i = 0; i < m.patterns.size(); ++i)
        validatePattern(m.patterns[i], m.channels, instruments, static_cast<int>(i));
    for (int i = 0; i < instruments; ++i)
        validateInstrument(m.instruments[i], i);
}

std::vector<std::uint8_t> encodeXm(const XmModule& m)
{
    validateXm(m);
    ByteWriter out;
    writeHeader(out, m);
    for (const XmPattern& p : m.patterns)
        writePattern(out, p);
    for (const XmInstrument& in : m.instruments)
        writeInstrument(out, in);
    return out.take();
}

bool writeXm(const XmModule& module, const std::string& path)
{
    const std::vector<std::uint8_t> bytes = encodeXm(module);
    // Written beside the target and renamed, so a failed write never leaves a
    // truncated module where the show looks for one.
    const std::string temporary = path + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) {
        std::perror(temporary.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "%s: write failed\n", temporary.c_str());
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::perror(path.c_str());
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace zov
