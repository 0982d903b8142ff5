#pragma once

#include <cstdint>
#include <vector>

namespace zov {

// Sound-making building blocks for the instruments. Everything is
// deterministic: the noise is our own fixed-seed generator and the
// oscillators are computed directly from the frame index.

using Signal = std::vector<float>;

// xorshift32: the same seed gives the same noise on every machine.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    float next(); // -1..1

private:
    std::uint32_t state_;
};

// One-pole filters; cutoff in Hz at the given rate.
class OnePole {
public:
    OnePole(double cutoffHz, double rate);
    void setCutoff(double cutoffHz, double rate);
    float lowpass(float x) { return y_ += a_ * (x - y_); }
    float highpass(float x) { return x - lowpass(x); }

private:
    float a_ = 1.0f;
    float y_ = 0.0f;
};

// Magnitude of a resonant two-pole low-pass at ratio = frequency / cutoff.
double lowpassGain(double ratio, double resonance);

// Adds sum over h of amplitude[h-1] * sin(2 pi h (frame / framesPerCycle + phase))
// to out[0..frames). framesPerCycle may be fractional; a loop of L frames is
// seamless when L / framesPerCycle is a whole number.
void addPartials(Signal& out, double framesPerCycle, const std::vector<double>& amplitude, double phase = 0.0);

// Harmonic amplitudes of the basic shapes, first harmonic first.
std::vector<double> sawPartials(int count);
std::vector<double> pulsePartials(int count, double width); // width 0..1 of the period high

// exp(-t / seconds) decay with a short linear attack, applied in place.
void applyDecay(Signal& s, double rate, double attackSeconds, double decaySeconds);
// Linear fade to zero over the last `frames` frames so one-shots end without a click.
void fadeTail(Signal& s, std::size_t frames);
// tanh saturation normalised so that 1 still maps to 1.
void saturate(Signal& s, float drive);

float peakOf(const Signal& s);
// Scales to 16-bit frames with `peak` as full-scale fraction of the loudest of all signals.
std::vector<std::vector<std::int16_t>> toPcm16(const std::vector<Signal>& signals, float peak);

} // namespace zov
