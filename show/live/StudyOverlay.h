#pragma once

#include <cstdint>

namespace zov {

class Bitmap;
class BitmapFont;
class FrameTimes;

// What the study overlay tells.
struct OverlayFacts {
    int part = 0; // from 0; -1: the end picture
    std::int32_t order = 0;
    std::int32_t row = 0;
    std::int64_t showMillis = 0; // the show clock
    std::int64_t frame = 0;      // the show time in frames of 60 a second
    bool paused = false;
    bool looping = false;
    int slowdown = 1;
    bool musicFollows = true; // slowed with the show, or else muted
};

// Draws the study overlay into the top left corner of picture, over what is
// there: a darkened panel with part, order, row, show time and frame, frames
// per second and the study's state in the show's font, and a graph of the
// last frame times (a bar a frame, the line at 1/60 s). Allocates nothing.
void drawStudyOverlay(Bitmap& picture, const BitmapFont& font, const OverlayFacts& facts, const FrameTimes& times);

} // namespace zov
