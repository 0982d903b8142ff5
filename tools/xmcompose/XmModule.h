#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zov {

// In-memory FastTracker 2 module, close to the file's own fields so that the
// writer only checks ranges and lays out bytes.

// Note numbers: 1 = C-0, 49 = C-4, 96 = B-7; 97 releases the note.
constexpr std::uint8_t kXmNoteOff = 97;

struct XmCell {
    std::uint8_t note = 0;       // 0 none, 1..96, kXmNoteOff
    std::uint8_t instrument = 0; // 0 none, 1-based
    std::uint8_t volume = 0;     // volume column byte (0x10..0x50 = set 0..64)
    std::uint8_t effect = 0;     // 0..35, letters after F count on from 16
    std::uint8_t param = 0;

    bool empty() const { return note == 0 && instrument == 0 && volume == 0 && effect == 0 && param == 0; }
};

class XmPattern {
public:
    XmPattern(int rows, int channels)
        : rows_(rows), channels_(channels),
          cells_(static_cast<std::size_t>(rows > 0 && channels > 0 ? rows * channels : 0))
    {
    }

    int rows() const { return rows_; }
    int channels() const { return channels_; }
    XmCell& at(int row, int channel) { return cells_.at(index(row, channel)); }
    const XmCell& at(int row, int channel) const { return cells_.at(index(row, channel)); }

private:
    std::size_t index(int row, int channel) const
    {
        if (row < 0 || row >= rows_ || channel < 0 || channel >= channels_)
            return cells_.size(); // lets at() throw
        return static_cast<std::size_t>(row * channels_ + channel);
    }

    int rows_;
    int channels_;
    std::vector<XmCell> cells_;
};

struct XmEnvelopePoint {
    int tick = 0;  // 0..65535, first point at 0
    int value = 0; // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points; // at most 12
    bool enabled = false;
    int sustain = -1; // point index, -1 none
    int loopStart = -1;
    int loopEnd = -1; // both set or both -1
};

enum class XmLoop : std::uint8_t { None = 0, Forward = 1, PingPong = 2 };

struct XmSample {
    std::string name;                 // up to 22 characters
    std::vector<std::int16_t> frames; // signed PCM; -128..127 when 8-bit
    bool sixteenBit = true;
    XmLoop loop = XmLoop::None;
    std::uint32_t loopStart = 0;  // frames
    std::uint32_t loopLength = 0; // frames
    int volume = 64;              // 0..64
    int finetune = 0;             // -128..127, 1/128 semitone
    int panning = 128;            // 0..255
    int relativeNote = 0;         // -96..95 semitones
};

struct XmInstrument {
    std::string name; // up to 22 characters
    std::vector<XmSample> samples; // at most 16
    std::array<std::uint8_t, 96> sampleForNote{}; // index into samples
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    int vibratoType = 0;  // 0 sine, 1 square, 2 ramp down, 3 ramp up
    int vibratoSweep = 0; // 0..255
    int vibratoDepth = 0; // 0..15
    int vibratoRate = 0;  // 0..63
    int fadeout = 0;      // 0..0xFFF, volume lost per tick after release
};

struct XmModule {
    std::string name;            // up to 20 characters
    int channels = 2;            // even, 2..32
    int restartPosition = 0;     // order the song loops to
    bool linearFrequencies = true;
    int speed = 6;               // ticks per row, 1..31
    int bpm = 125;               // 32..255
    std::vector<int> orders;     // pattern per order, 1..256 entries
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments; // at most 128
};

} // namespace zov
