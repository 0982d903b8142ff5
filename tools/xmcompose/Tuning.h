#pragma once

namespace zov {

// Relative note and finetune of a sample. With the linear frequency table a
// note n plays the sample at 8363 * 2^((n - 49 + relativeNote) / 12 + finetune / 1536)
// frames per second, so one unit of t = 128 * relativeNote + finetune is 1/128
// semitone and t = 1536 * log2(R / 8363) makes C-4 play at R frames per second.
// FT2 replay honours finetune only in steps of 8, so t is rounded to those.
struct XmTuning {
    int relativeNote = 0;
    int finetune = 0; // 0..120, a multiple of 8
};

// A sample that should play at its natural rate R (frames per second) on C-4,
// e.g. a drum rendered at 44100 Hz: t = 1536 * log2(R / 8363) = 3684.4, so
// relative note 28, finetune 104 (2.8 cents sharp, which a drum never shows).
XmTuning tuningForRate(double framesPerSecondAtC4);

// A periodic sample with P frames per cycle that should sound C-4. FT2's C-4
// is 8363 / 32 Hz, so R = P * 8363 / 32; for P = 32 * 2^k this is exactly
// relative note 12k, finetune 0, which is why the tonal instruments render
// cycles of 128 or 256 frames.
XmTuning tuningForCycle(double framesPerCycle);

// The error left by the rounding, in cents (positive: the sample sounds sharp).
double tuningErrorCents(double framesPerSecondAtC4, XmTuning tuning);

} // namespace zov
