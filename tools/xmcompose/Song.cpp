#include "tools/xmcompose/Song.h"

#include "tools/xmcompose/Instruments.h"
#include "tools/xmcompose/Score.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

// How the closing gets its own voice. Orders 2 and 3 are played twice: first
// as the driving section, then, after the song loops back to them, as the
// close. The order list cannot tell the passes apart, and only those two orders
// lie between the loop and the end of the show, so the difference has to be
// carried in by the channels' state from the order played just before them:
//  - tempo: the end of order 8 slows from 125 to 112 BPM and orders 2-3 set
//    none, so the close is a broader reprise;
//  - timbre: the lead and its echo play orders 2-3 without instrument numbers,
//    so they sound with whatever instrument the order before them used: the
//    saw lead after the intro, the flute after the light section;
//  - a descant channel plays through orders 2-3 without instrument or volume;
//    the intro leaves its volume at 0, the light section at an audible level.
// Channels that carry state never get a key-off (an instrument-less note would
// stay released); rests there set volume 0 instead.

namespace zov {

namespace {

constexpr int kBar = 16;

// ---- effect numbers ----
constexpr int kFxSetSpeed = 0xF;
constexpr int kFxRetrigger = 0xE; // with 0x9x
constexpr int kFxTonePorta = 0x3;
constexpr int kFxPanning = 0x8;

struct Chord {
    int bass;
    std::array<int, 3> pad; // low to high, middle octave
};

Chord chord(std::string_view name)
{
    struct Entry {
        std::string_view name, bass, a, b, c;
    };
    static const Entry kChords[] = {
        {"Dm", "D2", "D4", "F4", "A4"}, {"Bb", "Bb1", "D4", "F4", "Bb4"}, {"F", "F2", "C4", "F4", "A4"},
        {"C", "C2", "C4", "E4", "G4"},  {"Gm", "G2", "D4", "G4", "Bb4"},  {"A", "A2", "C#4", "E4", "A4"},
    };
    for (const Entry& e : kChords)
        if (e.name == name)
            return {noteNumber(e.bass), {noteNumber(e.a), noteNumber(e.b), noteNumber(e.c)}};
    throw std::invalid_argument("unknown chord " + std::string(name));
}

using Bars = std::array<Chord, 4>;

Bars bars(std::string_view a, std::string_view b, std::string_view c, std::string_view d)
{
    return {chord(a), chord(b), chord(c), chord(d)};
}

// ---- layers ----

void pads(XmPattern& p, const Bars& progression, int volume)
{
    for (int b = 0; b < 4; ++b)
        for (int v = 0; v < 3; ++v)
            Track(p, kChPad1 + v).note(b * kBar, progression[b].pad[v], kPad, volume);
}

// Per bar, one character a row: R root, O octave, F fifth; capitals accented.
void bassline(XmPattern& p, const Bars& progression, const std::array<std::string_view, 4>& perBar,
              int volume)
{
    Track t(p, kChBass);
    for (int b = 0; b < 4; ++b) {
        const int root = progression[b].bass;
        const int accent = volume + 10 > 64 ? 64 : volume + 10;
        const StepMap map = {
            {'R', {root, kBass, accent}},      {'r', {root, kBass, volume}},
            {'O', {root + 12, kBass, accent}}, {'o', {root + 12, kBass, volume}},
            {'F', {root + 7, kBass, accent}},  {'f', {root + 7, kBass, volume}},
            {'x', {kXmNoteOff, 0}},
        };
        steps(t, b * kBar, perBar[b], map);
    }
}

// Digits pick chord tones: 0-2 the pad's notes, 3 the root an octave up; 4-7
// the same an octave higher again.
void arpeggio(XmPattern& p, const Bars& progression, const std::array<std::string_view, 4>& perBar,
              int octaveShift, int volume)
{
    Track t(p, kChArp);
    for (int b = 0; b < 4; ++b) {
        const Chord& c = progression[b];
        const int tones[4] = {c.pad[0], c.pad[1], c.pad[2], c.pad[0] + 12};
        StepMap map;
        for (int d = 0; d < 8; ++d)
            map['0' + d] = {tones[d % 4] + 12 * (octaveShift + d / 4), kPluck, volume - (d % 2) * 4};
        steps(t, b * kBar, perBar[b], map);
    }
}

const StepMap& drumKit()
{
    static const StepMap kit = {
        {'K', {49, kKick, 60}},      {'k', {49, kKick, 40}},      {'S', {49, kSnare, 60}},
        {'s', {49, kSnare, 26}},     {'C', {49, kClap, 50}},      {'c', {49, kClap, 34}},
        {'H', {49, kClosedHat, 40}}, {'h', {49, kClosedHat, 26}}, {'O', {49, kOpenHat, 34}},
        {'o', {49, kOpenHat, 22}},
    };
    return kit;
}

void drums(XmPattern& p, int channel, int row, std::string_view pattern)
{
    Track t(p, channel);
    steps(t, row, pattern, drumKit());
}

void drumsEveryBar(XmPattern& p, int channel, std::string_view bar)
{
    for (int b = 0; b < 4; ++b)
        drums(p, channel, b * kBar, bar);
}

// A snare roll that swells into the next pattern, the last two rows retriggered.
void snareRoll(XmPattern& p, int firstRow, int fromVolume, int toVolume)
{
    Track t(p, kChSnare);
    const int last = p.rows() - 1;
    for (int r = firstRow; r <= last; ++r) {
        const int v = fromVolume + (toVolume - fromVolume) * (r - firstRow) / (last - firstRow);
        t.note(r, 49, kSnare, v);
        if (r >= last - 1)
            t.effect(r, kFxRetrigger, 0x93);
    }
}

void crash(XmPattern& p, int row, int volume)
{
    Track(p, kChFx).note(row, 49, kCrash, volume);
}

// Writes a phrase. With instrument 0 the notes keep the channel's last
// instrument, and rests set volume 0 rather than releasing the note.
void melody(XmPattern& p, int channel, std::string_view phrase, int startRow, int instrument, int volume)
{
    Track t(p, channel);
    for (const PhraseNote& n : parsePhrase(phrase)) {
        const int row = startRow + n.row;
        if (row >= p.rows())
            break; // an echo running past the pattern
        if (n.note != 0)
            t.note(row, n.note, instrument, volume);
        else if (instrument == 0)
            t.volume(row, 0);
        else
            t.keyOff(row);
    }
}

// A whole-pattern line for the lead with its echo.
void leadLine(XmPattern& p, std::string_view phrase, int instrument, int volume)
{
    if (phraseRows(parsePhrase(phrase)) != kShowRows)
        throw std::invalid_argument("lead line is not one pattern long: " + std::string(phrase));
    melody(p, kChLead, phrase, 0, instrument, volume);
    melody(p, kChEcho, phrase, 3, instrument, volume * 2 / 5);
}

// Rows 0-2 of every 32 in the opening are where the logo flashes: kick and
// crash, two claps, and a falling three-note stab.
void openingAccents(XmPattern& p, const Bars& progression)
{
    for (int row : {0, 32}) {
        const Chord& c = progression[row / kBar];
        drums(p, kChKick, row, "K.k");
        drums(p, kChSnare, row, ".cC");
        crash(p, row, 40);
        Track stab(p, kChArp);
        stab.note(row, c.pad[2] + 12, kPluck, 50);
        stab.note(row + 1, c.pad[1] + 12, kPluck, 40);
        stab.note(row + 2, c.pad[0] + 12, kPluck, 46);
    }
}

// Spreads the band across the stereo field. An instrument number resets a
// channel's panning in FT2, so every note carries its position.
void stereo(XmPattern& p)
{
    const struct {
        int channel;
        int pan; // 0 left .. 255 right
    } kPlaces[] = {{kChHat, 0x98}, {kChEcho, 0xB8}, {kChArp, 0x58}, {kChPad1, 0x48},
                   {kChPad2, 0x80}, {kChPad3, 0xB8}, {kChDescant, 0x60}};
    for (const auto& place : kPlaces) {
        for (int r = 0; r < p.rows(); ++r) {
            XmCell& c = p.at(r, place.channel);
            if (c.note != 0 && c.note != kXmNoteOff && c.effect == 0 && c.param == 0) {
                c.effect = kFxPanning;
                c.param = static_cast<std::uint8_t>(place.pan);
            }
        }
    }
}

// ---- patterns ----

XmPattern introA()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Dm", "Bb", "F", "C");
    Track(p, kChFx).effect(0, kFxSetSpeed, kShowSpeed);
    Track(p, kChKick).effect(0, kFxSetSpeed, kShowBpm);
    pads(p, harmony, 22);
    bassline(p, harmony, {"R...............", "r...............", "R...............", "r......r.f......"}, 36);
    arpeggio(p, harmony, {"....0.1.2.3.2.1.", "0.1.2.3.2.1.0.1.", "....0.1.2.3.2.1.", "0.1.2.3.4.3.2.1."}, 0, 26);
    openingAccents(p, harmony);
    drums(p, kChHat, 32, "..h...h...h...h. ..h...h...h.h.hh");
    drums(p, kChKick, 56, "....k...");
    return p;
}

XmPattern introB()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Dm", "Bb", "Gm", "A");
    pads(p, harmony, 22);
    bassline(p, harmony, {"R.r.r.r.r.r.r.o.", "R.r.r.r.r.r.r.o.", "R.r.r.r.r.r.r.o.", "R.r.r.r.R.O.R.O."}, 38);
    arpeggio(p, harmony, {"...30.1.2.3.2.1.", "0.1.2.3.2.1.2.3.", "...30.1.2.3.2.1.", "0.1.2.3.4.5.6.7."}, 0, 26);
    openingAccents(p, harmony);
    drumsEveryBar(p, kChHat, "h.H.h.H.h.H.h.Hh");
    drums(p, kChKick, 16, "K.......");
    drums(p, kChKick, 48, "K.......K.......");
    drums(p, kChSnare, 16, "....s.......s...");
    drums(p, kChSnare, 48, "....s.......");
    snareRoll(p, 56, 18, 50);
    Track(p, kChFx).note(36, 49, kRiser, 44);
    // The pickup into the drive; it also leaves the saw lead on the lead
    // channels for the drive's instrument-less notes.
    melody(p, kChLead, "A4:4 C#5:2 E5:2 G5:4 F5:2 E5:2", 48, kLead, 44);
    melody(p, kChEcho, "A4:4 C#5:2 E5:2 G5:4 F5:2 E5:2", 51, kLead, 17);
    // Silences the descant for the first pass of the drive.
    Track(p, kChDescant).note(0, noteNumber("D5"), kPad, 0);
    return p;
}

void driveGroove(XmPattern& p, const Bars& harmony)
{
    drumsEveryBar(p, kChKick, "K.......K.......");
    drumsEveryBar(p, kChSnare, "....S.......S...");
    drumsEveryBar(p, kChHat, "HhOhHhOh HhOhHhOh");
    bassline(p, harmony, {"R.O.r.O.R.O.r.Oo", "R.O.r.O.R.O.r.Oo", "R.O.r.O.R.O.r.Oo", "R.O.r.O.R.O.r.Oo"}, 42);
    pads(p, harmony, 16);
    crash(p, 0, 40);
}

XmPattern driveA()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Dm", "Bb", "F", "C");
    driveGroove(p, harmony);
    drums(p, kChSnare, 60, "S.sS"); // pushes into the answer
    arpeggio(p, harmony, {"0213421302134231", "0213421302134231", "0213421302134231", "0213421302134756"}, 0, 20);
    leadLine(p,
             "D5:6 E5:2 F5:4 A5:4  G5:6 F5:2 D5:4 F5:4  A5:6 G5:2 F5:4 C6:4  C6:4 Bb5:2 A5:2 G5:8",
             0, 44);
    melody(p, kChDescant, "A4:8 D5:8  D5:8 F5:8  C5:8 A4:8  G4:8 C5:8", 0, 0, -1);
    return p;
}

XmPattern driveB()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Dm", "Bb", "Gm", "A");
    driveGroove(p, harmony);
    drums(p, kChSnare, 56, "....S.sS");
    drums(p, kChKick, 56, "K.......");
    arpeggio(p, harmony, {"0213421302134231", "0213421302134231", "0213421302134231", "0213421376543210"}, 0, 20);
    leadLine(p,
             "D5:6 E5:2 F5:4 A5:4  D6:6 C6:2 Bb5:4 F5:4  G5:4 Bb5:4 D6:4 C6:2 Bb5:2  A5:6 G5:2 E5:4 C#5:4",
             0, 44);
    melody(p, kChDescant, "F5:8 A5:8  F5:8 D5:8  D5:8 G5:8  E5:8 C#5:8", 0, 0, -1);
    return p;
}

XmPattern driveC()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Bb", "C", "Dm", "Dm");
    driveGroove(p, harmony);
    // The last bar breaks down: the kick stays on its eighth rows, the rest
    // thins out under a swelling roll and a riser into the light section.
    for (int ch : {kChSnare, kChHat})
        for (int r = 48; r < 64; ++r)
            p.at(r, ch) = XmCell{};
    drums(p, kChHat, 48, "h...h...");
    snareRoll(p, 52, 12, 46);
    Track(p, kChFx).note(32, 49, kRiser, 40);
    arpeggio(p, harmony, {"0213421302134231", "0213421302134231", "4657465746574657", "7.6.5.4.3.2.1.0."}, 0, 20);
    melody(p, kChLead, "F6:4 D6:4 Bb5:4 D6:4  E6:4 C6:4 G5:4 C6:4  F6:6 E6:2 D6:4 A5:4  D6:12 -:4", 0, kLead, 44);
    melody(p, kChEcho, "F6:4 D6:4 Bb5:4 D6:4  E6:4 C6:4 G5:4 C6:4  F6:6 E6:2 D6:4 A5:4  D6:12", 3, kLead, 17);
    Track(p, kChLead).effect(20, kFxTonePorta, 0x18).note(20, noteNumber("C6"), kLead, 44);
    Track(p, kChDescant).keyOff(0);
    return p;
}

void lightGroove(XmPattern& p, bool busier)
{
    drumsEveryBar(p, kChKick, "k.........k.....");
    drumsEveryBar(p, kChSnare, busier ? "........C.....s." : "........C.......");
    drumsEveryBar(p, kChHat, busier ? "h.h.h.h.h.h.h.ho" : "..h...h...h...h.");
}

XmPattern lightA()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("F", "C", "Dm", "Bb");
    lightGroove(p, false);
    crash(p, 0, 34);
    pads(p, harmony, 20);
    bassline(p, harmony, {"R.....r...f.r...", "R.....r...f.r...", "R.....r...f.r...", "R.....r...f.o..."}, 28);
    arpeggio(p, harmony, {"4.6.5.6.4.6.5.6.", "4.6.5.6.4.6.5.6.", "4.6.5.6.4.6.5.6.", "4.6.5.6.7.6.5.4."}, 0, 20);
    leadLine(p, "C5:4 F5:4 A5:8  G5:4 E5:4 C5:8  D5:4 F5:4 A5:4 G5:4  F5:8 D5:8", kFlute, 32);
    return p;
}

XmPattern lightB()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("F", "C", "Dm", "Bb");
    lightGroove(p, true);
    pads(p, harmony, 20);
    bassline(p, harmony, {"R.....r...f.r...", "R.....r...f.r...", "R.....r...f.r...", "R.....r...f.o.f."}, 28);
    arpeggio(p, harmony, {"4.5.6.7.6.5.4.5.", "4.5.6.7.6.5.4.5.", "4.5.6.7.6.5.4.5.", "7.6.5.4.6.5.4.3."}, 0, 20);
    leadLine(p, "A5:4 C6:4 A5:4 F5:4  G5:6 A5:2 G5:4 E5:4  F5:4 A5:4 D6:6 C6:2  Bb5:4 A5:4 F5:8", kFlute, 32);
    return p;
}

XmPattern lightC()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Gm", "C", "F", "Dm");
    lightGroove(p, true);
    crash(p, 0, 28);
    pads(p, harmony, 20);
    bassline(p, harmony, {"R.....r...f.r...", "R.....r...f.r...", "R.....r...f.r...", "R.....r...O.r.o."}, 28);
    arpeggio(p, harmony, {"4.6.5.6.4.6.5.6.", "4.5.6.7.6.5.4.5.", "4.6.5.6.4.6.5.6.", "7.6.5.4.6.5.4.3."}, 0, 20);
    leadLine(p, "D6:6 C6:2 Bb5:4 G5:4  E5:4 G5:4 C6:8  A5:6 G5:2 F5:4 C5:4  D5:4 F5:4 A5:8", kFlute, 32);
    return p;
}

// Turns round to the reprise: slows down, brings in the descant at the level
// the close will keep, and ends on the dominant that the drive's Dm resolves.
XmPattern lightD()
{
    XmPattern p(kShowRows, kShowChannels);
    const Bars harmony = bars("Gm", "Bb", "C", "A");
    lightGroove(p, true);
    pads(p, harmony, 20);
    bassline(p, harmony, {"R.....r...f.r...", "R.....r...f.r...", "R.....r...f.r...", "R.......r...r.r."}, 28);
    arpeggio(p, harmony, {"4.6.5.6.4.6.5.6.", "4.5.6.7.6.5.4.5.", "4.6.5.6.4.6.5.6.", "7.6.5.4.3.2.1.0."}, 0, 20);
    leadLine(p, "Bb5:6 A5:2 G5:8  F5:6 G5:2 Bb5:8  C6:8 Bb5:4 G5:4  A5:8 E5:4 C#5:4", kFlute, 32);
    melody(p, kChDescant, "G4:8 C5:8  C#5:8 E5:8", 32, kPad, 30);
    snareRoll(p, 56, 10, 34);
    Track fx(p, kChFx);
    fx.effect(48, kFxSetSpeed, 120).effect(56, kFxSetSpeed, 116).effect(60, kFxSetSpeed, kClosingBpm);
    return p;
}

} // namespace

XmModule composeShow()
{
    XmModule m;
    m.name = "cute5c";
    m.channels = kShowChannels;
    m.speed = kShowSpeed;
    m.bpm = kShowBpm;
    m.restartPosition = kShowRestart;
    m.patterns = {introA(), introB(), driveA(), driveB(), driveC(), lightA(), lightB(), lightC(), lightD()};
    for (XmPattern& p : m.patterns)
        stereo(p);
    m.orders = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    m.instruments = makeShowInstruments();
    return m;
}

} // namespace zov
