#include "tools/xmcompose/Instruments.h"

#include "tools/xmcompose/Synth.h"
#include "tools/xmcompose/Tuning.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace zov {

namespace {

constexpr double kDrumRate = 44100.0;
constexpr double kRiserRate = 22050.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr float kSamplePeak = 0.9f; // of full scale, so interpolation overshoot stays inside
constexpr double kTopPartialHz = 14000.0;

// FT2's pitch of note n (49 = C-4) in Hz.
double noteHz(int note)
{
    return 8363.0 * std::pow(2.0, (note - 49) / 12.0) / 32.0;
}

std::size_t framesFor(double seconds, double rate)
{
    return static_cast<std::size_t>(seconds * rate);
}

XmEnvelope envelope(std::vector<XmEnvelopePoint> points, int sustain)
{
    XmEnvelope e;
    e.points = std::move(points);
    e.enabled = true;
    e.sustain = sustain;
    return e;
}

XmSample pcmSample(const std::string& name, std::vector<std::int16_t> frames, XmTuning tuning)
{
    XmSample s;
    s.name = name;
    s.frames = std::move(frames);
    s.relativeNote = tuning.relativeNote;
    s.finetune = tuning.finetune;
    return s;
}

XmInstrument oneShot(const std::string& name, const Signal& signal, double rate, int volume)
{
    XmInstrument in;
    in.name = name;
    in.samples.push_back(pcmSample(name, std::move(toPcm16({signal}, kSamplePeak)[0]), tuningForRate(rate)));
    in.samples[0].volume = volume;
    return in;
}

// A tonal instrument split into bands of notes, each band rendered with only
// the partials that stay under kTopPartialHz at its highest note, so no
// player has to filter aliasing away.
struct Band {
    int firstNote;
    Signal signal;
};

XmInstrument tonal(const std::string& name, std::vector<Band> bands, double framesPerCycle,
                   std::uint32_t loopStart, std::uint32_t loopLength, int volume)
{
    XmInstrument in;
    in.name = name;
    std::vector<Signal> signals;
    for (const Band& b : bands)
        signals.push_back(b.signal);
    std::vector<std::vector<std::int16_t>> pcm = toPcm16(signals, kSamplePeak);
    const XmTuning tuning = tuningForCycle(framesPerCycle);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        XmSample s = pcmSample(name + " " + std::to_string(i + 1), std::move(pcm[i]), tuning);
        s.volume = volume;
        if (loopLength > 0) {
            s.loop = XmLoop::Forward;
            s.loopStart = loopStart;
            s.loopLength = loopLength;
        }
        in.samples.push_back(std::move(s));
        for (int note = bands[i].firstNote; note <= 96; ++note)
            in.sampleForNote[note - 1] = static_cast<std::uint8_t>(i);
    }
    return in;
}

// Partials a band may hold: below kTopPartialHz at its top note, and below
// the Nyquist limit of the cycle itself.
int partialsFor(int topNote, double framesPerCycle)
{
    const int byPitch = static_cast<int>(kTopPartialHz / noteHz(topNote));
    return std::clamp(byPitch, 1, static_cast<int>(framesPerCycle / 2) - 1);
}

// ---- drums, rendered at their natural rate ----

Signal kick()
{
    Signal s(framesFor(0.45, kDrumRate));
    Noise noise(0x4B1C0001u);
    OnePole clickFilter(3500.0, kDrumRate);
    double phase = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kDrumRate;
        // The pitch drop is what makes it a kick rather than a tom.
        const double hz = 46.0 + 95.0 * std::exp(-t / 0.045) + 300.0 * std::exp(-t / 0.006);
        phase += hz / kDrumRate;
        phase -= std::floor(phase);
        const double body = std::sin(kTwoPi * phase) * std::exp(-t / 0.30);
        const double click = clickFilter.lowpass(noise.next()) * std::exp(-t / 0.004) * 0.8;
        s[i] = static_cast<float>(body + click);
    }
    applyDecay(s, kDrumRate, 0.0003, 1e9);
    saturate(s, 1.6f);
    fadeTail(s, framesFor(0.01, kDrumRate));
    return s;
}

Signal snare()
{
    Signal s(framesFor(0.32, kDrumRate));
    Noise noise(0x5A4E0002u);
    OnePole highpass(1200.0, kDrumRate);
    OnePole lowpass(8000.0, kDrumRate);
    double phase1 = 0.0;
    double phase2 = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kDrumRate;
        phase1 += (180.0 + 60.0 * std::exp(-t / 0.01)) / kDrumRate;
        phase2 += 330.0 / kDrumRate;
        const double tone = 0.55 * std::sin(kTwoPi * phase1) * std::exp(-t / 0.06) +
                            0.30 * std::sin(kTwoPi * phase2) * std::exp(-t / 0.035);
        const double rattle = lowpass.lowpass(highpass.highpass(noise.next())) * std::exp(-t / 0.09) * 1.6;
        s[i] = static_cast<float>(tone + rattle);
    }
    applyDecay(s, kDrumRate, 0.0005, 1e9);
    saturate(s, 1.4f);
    fadeTail(s, framesFor(0.02, kDrumRate));
    return s;
}

Signal clap()
{
    Signal s(framesFor(0.30, kDrumRate));
    Noise noise(0xC1A90003u);
    OnePole highpass(900.0, kDrumRate);
    OnePole lowpass1(2600.0, kDrumRate);
    OnePole lowpass2(2600.0, kDrumRate);
    const double bursts[] = {0.0, 0.010, 0.020, 0.030};
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kDrumRate;
        // Several hands a few milliseconds apart, then the room.
        double env = 0.0;
        for (double start : bursts)
            if (t >= start)
                env = std::max(env, std::exp(-(t - start) / 0.005));
        if (t >= 0.030)
            env = std::max(env, 0.7 * std::exp(-(t - 0.030) / 0.08));
        const float x = lowpass2.lowpass(lowpass1.lowpass(highpass.highpass(noise.next())));
        s[i] = static_cast<float>(x * env);
    }
    fadeTail(s, framesFor(0.02, kDrumRate));
    return s;
}

// Six detuned square waves through a high-pass: the metallic part of hats and cymbals.
Signal metal(double seconds, double spread, double highpassHz, double decaySeconds, std::uint32_t seed)
{
    static const double kMetalHz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Signal s(framesFor(seconds, kDrumRate));
    Noise noise(seed);
    OnePole hp1(highpassHz, kDrumRate);
    OnePole hp2(highpassHz, kDrumRate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kDrumRate;
        double m = 0.0;
        for (double hz : kMetalHz)
            m += std::sin(kTwoPi * hz * spread * t) >= 0.0 ? 1.0 : -1.0;
        const float x = static_cast<float>(0.6 * m / 6.0 + 0.5 * noise.next());
        s[i] = hp2.highpass(hp1.highpass(x));
    }
    applyDecay(s, kDrumRate, 0.0005, decaySeconds);
    fadeTail(s, framesFor(0.01, kDrumRate));
    return s;
}

Signal riser(double seconds)
{
    Signal s(framesFor(seconds, kRiserRate));
    Noise noise(0x815E0004u);
    OnePole lp1(250.0, kRiserRate);
    OnePole lp2(250.0, kRiserRate);
    OnePole hp(150.0, kRiserRate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(s.size());
        const double cutoff = 250.0 * std::pow(36.0, x);
        lp1.setCutoff(cutoff, kRiserRate);
        lp2.setCutoff(cutoff, kRiserRate);
        s[i] = hp.highpass(lp2.lowpass(lp1.lowpass(noise.next()))) * static_cast<float>(x * x);
    }
    fadeTail(s, framesFor(0.02, kRiserRate));
    return s;
}

// ---- tonal instruments, whole cycles of a fixed frame count ----

constexpr double kBassCycle = 256.0;
constexpr int kBassAttackCycles = 24;
constexpr int kBassLoopCycles = 8;

Signal bassBand(int topNote)
{
    const int partials = partialsFor(topNote, kBassCycle);
    Signal out;
    for (int c = 0; c < kBassAttackCycles + kBassLoopCycles; ++c) {
        // The filter closes over the attack and stays put over the loop.
        const double cutoff = 3.0 + 22.0 * std::exp(-std::min(c, kBassAttackCycles) / 5.0);
        std::vector<double> a = sawPartials(partials);
        for (int h = 1; h <= partials; ++h)
            a[h - 1] *= lowpassGain(h / cutoff, 1.8);
        a[0] *= 1.6; // weight under the saw
        Signal cycle(static_cast<std::size_t>(kBassCycle));
        addPartials(cycle, kBassCycle, a);
        out.insert(out.end(), cycle.begin(), cycle.end());
    }
    return out;
}

constexpr double kLeadCycle = 128.0;
constexpr int kLeadLoopCycles = 64;

Signal leadBand(int topNote)
{
    const int partials = partialsFor(topNote, kLeadCycle);
    const double bandHz = noteHz(topNote - 6);
    Signal out;
    for (int c = 0; c < kLeadLoopCycles; ++c) {
        // Pulse width swept once per loop: the loop stays seamless.
        const double width = 0.5 + 0.32 * std::sin(kTwoPi * c / kLeadLoopCycles);
        std::vector<double> pulse = pulsePartials(partials, width);
        std::vector<double> saw = sawPartials(partials);
        std::vector<double> a(partials);
        for (int h = 1; h <= partials; ++h)
            a[h - 1] = (0.55 * pulse[h - 1] + 0.45 * saw[h - 1]) * lowpassGain(h * bandHz / 4500.0, 1.3);
        Signal cycle(static_cast<std::size_t>(kLeadCycle));
        addPartials(cycle, kLeadCycle, a);
        out.insert(out.end(), cycle.begin(), cycle.end());
    }
    return out;
}

constexpr double kPadCycle = 128.0;
constexpr int kPadLoopCycles = 128;

Signal padBand(int topNote)
{
    const int partials = partialsFor(topNote, kPadCycle);
    const double bandHz = noteHz(topNote - 6);
    const double loopFrames = kPadCycle * kPadLoopCycles;
    Signal out(static_cast<std::size_t>(loopFrames));
    // Three saws with 127, 128 and 129 cycles per loop: about 13.5 cents apart,
    // and every one of them whole inside the loop.
    const struct {
        int cycles;
        double phase;
    } voices[] = {{kPadLoopCycles, 0.0}, {kPadLoopCycles - 1, 0.31}, {kPadLoopCycles + 1, 0.67}};
    for (const auto& v : voices) {
        std::vector<double> a = sawPartials(partials);
        for (int h = 1; h <= partials; ++h)
            a[h - 1] *= lowpassGain(h * bandHz / 2200.0, 0.9);
        addPartials(out, loopFrames / v.cycles, a, v.phase);
    }
    return out;
}

constexpr double kPluckCycle = 64.0;

Signal pluck()
{
    // Two-operator FM, modulator at twice the carrier: the cycle stays 64 frames.
    const int cycles = 400;
    Signal s(static_cast<std::size_t>(kPluckCycle * cycles));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double c = static_cast<double>(i) / kPluckCycle;
        const double index = 2.6 * std::exp(-c / 30.0) + 0.35;
        const double env = std::exp(-c / 90.0) * std::min(1.0, static_cast<double>(i) / 8.0);
        s[i] = static_cast<float>(env * std::sin(kTwoPi * c + index * std::sin(kTwoPi * 2.0 * c)));
    }
    fadeTail(s, static_cast<std::size_t>(kPluckCycle * 20));
    return s;
}

constexpr double kFluteCycle = 128.0;
constexpr int kFluteAttackCycles = 24;
constexpr int kFluteLoopCycles = 8;

Signal flute()
{
    const std::vector<double> body = {1.0, 0.30, 0.12, 0.05};
    Signal s(static_cast<std::size_t>(kFluteCycle * (kFluteAttackCycles + kFluteLoopCycles)));
    addPartials(s, kFluteCycle, body);
    // A breathy chiff at the start only: noise inside the loop would buzz.
    Noise noise(0xF1E7E005u);
    OnePole hp(0.15, 1.0);
    const std::size_t attack = static_cast<std::size_t>(kFluteCycle * kFluteAttackCycles);
    for (std::size_t i = 0; i < attack; ++i) {
        const double fade = 1.0 - static_cast<double>(i) / static_cast<double>(attack);
        s[i] += static_cast<float>(0.35 * fade * fade) * hp.highpass(noise.next());
    }
    return s;
}

} // namespace

std::vector<XmInstrument> makeShowInstruments()
{
    std::vector<XmInstrument> all;
    all.push_back(oneShot("kick", kick(), kDrumRate, 64));
    all.push_back(oneShot("snare", snare(), kDrumRate, 56));
    all.push_back(oneShot("closed hat", metal(0.12, 1.7, 6500.0, 0.03, 0x4A70005u), kDrumRate, 40));
    all.push_back(oneShot("open hat", metal(0.60, 1.7, 6500.0, 0.22, 0x4A70006u), kDrumRate, 36));
    all.push_back(oneShot("clap", clap(), kDrumRate, 52));
    all.push_back(oneShot("crash", metal(1.60, 2.3, 3500.0, 0.55, 0xC4A50007u), kDrumRate, 40));
    all.push_back(oneShot("riser", riser(3.84), kRiserRate, 40));

    XmInstrument bass = tonal("bass",
                              {{1, bassBand(24)}, {25, bassBand(36)}, {37, bassBand(48)}}, kBassCycle,
                              static_cast<std::uint32_t>(kBassCycle * kBassAttackCycles),
                              static_cast<std::uint32_t>(kBassCycle * kBassLoopCycles), 56);
    bass.volumeEnvelope = envelope({{0, 64}, {8, 50}}, 1);
    bass.fadeout = 0x400;
    all.push_back(std::move(bass));

    XmInstrument lead = tonal("lead", {{1, leadBand(60)}, {61, leadBand(72)}, {73, leadBand(84)}}, kLeadCycle,
                              0, static_cast<std::uint32_t>(kLeadCycle * kLeadLoopCycles), 48);
    lead.volumeEnvelope = envelope({{0, 40}, {3, 64}, {12, 52}}, 2);
    lead.fadeout = 0x300;
    lead.vibratoSweep = 64;
    lead.vibratoDepth = 2;
    lead.vibratoRate = 8;
    all.push_back(std::move(lead));

    XmInstrument pad = tonal("pad", {{1, padBand(48)}, {49, padBand(60)}, {61, padBand(72)}}, kPadCycle, 0,
                             static_cast<std::uint32_t>(kPadCycle * kPadLoopCycles), 40);
    pad.volumeEnvelope = envelope({{0, 0}, {20, 64}, {40, 56}}, 2);
    pad.fadeout = 0x180;
    all.push_back(std::move(pad));

    all.push_back(tonal("pluck", {{1, pluck()}}, kPluckCycle, 0, 0, 44));

    XmInstrument fl = tonal("flute", {{1, flute()}}, kFluteCycle,
                            static_cast<std::uint32_t>(kFluteCycle * kFluteAttackCycles),
                            static_cast<std::uint32_t>(kFluteCycle * kFluteLoopCycles), 52);
    fl.volumeEnvelope = envelope({{0, 0}, {4, 64}, {10, 56}}, 2);
    fl.fadeout = 0x200;
    fl.vibratoSweep = 80;
    fl.vibratoDepth = 4;
    fl.vibratoRate = 12;
    all.push_back(std::move(fl));
    return all;
}

} // namespace zov
