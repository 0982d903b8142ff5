#pragma once

#include "tools/xmcompose/XmModule.h"

#include <vector>

namespace zov {

// The show's instruments, numbered as the patterns use them (1-based).
enum ShowInstrument : int {
    kKick = 1,
    kSnare,
    kClosedHat,
    kOpenHat,
    kClap,
    kCrash,
    kRiser,
    kBass,
    kLead,
    kPad,
    kPluck,
    kFlute,
};
constexpr int kShowInstrumentCount = kFlute;

// All instruments, index i holding instrument i + 1. Drums are rendered at
// 44100 frames per second (22050 for the riser) and play at that natural rate
// on C-4; tonal instruments hold whole cycles of 64, 128 or 256 frames and
// sound in FT2's own tuning (C-4 = 8363 / 32 Hz, about 2 cents under A440).
std::vector<XmInstrument> makeShowInstruments();

} // namespace zov
