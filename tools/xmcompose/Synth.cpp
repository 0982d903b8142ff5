#include "tools/xmcompose/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zov {

float Noise::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(static_cast<std::int32_t>(state_)) / 2147483648.0f;
}

OnePole::OnePole(double cutoffHz, double rate)
{
    setCutoff(cutoffHz, rate);
}

void OnePole::setCutoff(double cutoffHz, double rate)
{
    a_ = static_cast<float>(1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / rate));
}

double lowpassGain(double ratio, double resonance)
{
    const double r2 = ratio * ratio;
    const double damping = 1.0 / resonance;
    return 1.0 / std::sqrt((1.0 - r2) * (1.0 - r2) + damping * damping * r2);
}

void addPartials(Signal& out, double framesPerCycle, const std::vector<double>& amplitude, double phase)
{
    const double step = 1.0 / framesPerCycle;
    for (std::size_t h = 1; h <= amplitude.size(); ++h) {
        const double a = amplitude[h - 1];
        if (a == 0.0)
            continue;
        for (std::size_t i = 0; i < out.size(); ++i) {
            // Reduce the phase before scaling by 2 pi so long samples keep their precision.
            double cycles = static_cast<double>(h) * (static_cast<double>(i) * step + phase);
            cycles -= std::floor(cycles);
            out[i] += static_cast<float>(a * std::sin(2.0 * std::numbers::pi * cycles));
        }
    }
}

std::vector<double> sawPartials(int count)
{
    std::vector<double> a(static_cast<std::size_t>(std::max(count, 0)));
    for (int h = 1; h <= count; ++h)
        a[h - 1] = (h % 2 ? 1.0 : -1.0) / h;
    return a;
}

std::vector<double> pulsePartials(int count, double width)
{
    std::vector<double> a(static_cast<std::size_t>(std::max(count, 0)));
    for (int h = 1; h <= count; ++h)
        a[h - 1] = 2.0 * std::sin(std::numbers::pi * h * width) / (std::numbers::pi * h);
    return a;
}

void applyDecay(Signal& s, double rate, double attackSeconds, double decaySeconds)
{
    const double attack = std::max(1.0, attackSeconds * rate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double rise = std::min(1.0, static_cast<double>(i) / attack);
        s[i] *= static_cast<float>(rise * std::exp(-t / decaySeconds));
    }
}

void fadeTail(Signal& s, std::size_t frames)
{
    frames = std::min(frames, s.size());
    for (std::size_t i = 0; i < frames; ++i)
        s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(frames);
}

void saturate(Signal& s, float drive)
{
    const float norm = std::tanh(drive);
    for (float& x : s)
        x = std::tanh(drive * x) / norm;
}

float peakOf(const Signal& s)
{
    float p = 0.0f;
    for (float x : s)
        p = std::max(p, std::fabs(x));
    return p;
}

std::vector<std::vector<std::int16_t>> toPcm16(const std::vector<Signal>& signals, float peak)
{
    float loudest = 0.0f;
    for (const Signal& s : signals)
        loudest = std::max(loudest, peakOf(s));
    const float gain = loudest > 0.0f ? peak * 32767.0f / loudest : 0.0f;
    std::vector<std::vector<std::int16_t>> out;
    for (const Signal& s : signals) {
        std::vector<std::int16_t> frames(s.size());
        for (std::size_t i = 0; i < s.size(); ++i) {
            const long v = std::lround(s[i] * gain);
            frames[i] = static_cast<std::int16_t>(std::clamp(v, -32768L, 32767L));
        }
        out.push_back(std::move(frames));
    }
    return out;
}

} // namespace zov
