#include "TinyXm.h"

#include <cmath>
#include <fstream>
#include <unistd.h>

namespace zov::test {

namespace {

struct Writer {
    std::vector<std::uint8_t> bytes;
    void u8(int v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
    void u16(int v)
    {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<int>(v & 0xFFFF));
        u16(static_cast<int>(v >> 16));
    }
    void text(const std::string& s, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i)
            u8(i < s.size() ? s[i] : ' ');
    }
    void zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
};

std::vector<std::uint8_t> patternData(const TinyXm& song, int pattern)
{
    Writer w;
    for (int row = 0; row < song.rows; ++row) {
        const bool note = row % 4 == 0;
        const int noteNumber = 49 + 2 * pattern + (row / 4) % 5;
        if (row == 0) {
            w.u8(0x80 | 0x01 | 0x02 | 0x08 | 0x10); // note, instrument, speed
            w.u8(noteNumber);
            w.u8(1);
            w.u8(0x0F);
            w.u8(song.speed);
            w.u8(0x80 | 0x08 | 0x10); // BPM
            w.u8(0x0F);
            w.u8(song.bpm);
        } else if (note) {
            w.u8(0x80 | 0x01 | 0x02);
            w.u8(noteNumber);
            w.u8(1);
            w.u8(0x80);
        } else {
            w.u8(0x80);
            w.u8(0x80);
        }
    }
    return w.bytes;
}

} // namespace

std::vector<std::uint8_t> makeTinyXm(const TinyXm& song)
{
    Writer w;
    w.text("Extended Module: ", 17);
    w.text("zov test", 20);
    w.u8(0x1A);
    w.text("FastTracker v2.00", 20);
    w.u16(0x0104);
    w.u32(276);
    w.u16(static_cast<int>(song.orders.size()));
    w.u16(song.restart);
    w.u16(2);
    w.u16(song.patterns);
    w.u16(1);
    w.u16(1); // linear frequency table
    w.u16(song.speed);
    w.u16(song.bpm);
    for (int i = 0; i < 256; ++i)
        w.u8(i < static_cast<int>(song.orders.size()) ? song.orders[static_cast<std::size_t>(i)] : 0);

    for (int p = 0; p < song.patterns; ++p) {
        const std::vector<std::uint8_t> data = patternData(song, p);
        w.u32(9);
        w.u8(0);
        w.u16(song.rows);
        w.u16(static_cast<int>(data.size()));
        w.bytes.insert(w.bytes.end(), data.begin(), data.end());
    }

    // One instrument, one 32-frame 8-bit sine looped over its whole length.
    const int sampleFrames = 32;
    w.u32(263);
    w.text("sine", 22);
    w.u8(0);
    w.u16(1);
    w.u32(40);
    w.zeros(96 + 48 + 48 + 8 + 2 + 4);
    w.u16(0x100);
    w.zeros(22);
    w.u32(sampleFrames);
    w.u32(0);
    w.u32(sampleFrames);
    w.u8(48);
    w.u8(0);
    w.u8(1); // forward loop, 8-bit
    w.u8(128);
    w.u8(0);
    w.u8(0);
    w.text("sine", 22);
    int previous = 0;
    for (int i = 0; i < sampleFrames; ++i) {
        const int s = static_cast<int>(std::lround(100.0 * std::sin(2.0 * M_PI * i / sampleFrames)));
        w.u8((s - previous) & 0xFF);
        previous = s;
    }
    return w.bytes;
}

std::vector<std::uint8_t> makeWav(int rate, int channels, int frames)
{
    Writer w;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(frames * channels * 2);
    w.text("RIFF", 4);
    w.u32(36 + dataBytes);
    w.text("WAVE", 4);
    w.text("fmt ", 4);
    w.u32(16);
    w.u16(1);
    w.u16(channels);
    w.u32(static_cast<std::uint32_t>(rate));
    w.u32(static_cast<std::uint32_t>(rate * channels * 2));
    w.u16(channels * 2);
    w.u16(16);
    w.text("data", 4);
    w.u32(dataBytes);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            w.u16(static_cast<int>(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate)) & 0xFFFF);
    return w.bytes;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string scratchPath(const std::string& name)
{
    return "platform_" + std::to_string(::getpid()) + "_" + name;
}

} // namespace zov::test
