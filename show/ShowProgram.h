#pragma once

#include <cstdint>

namespace zov {

class Clock;
class DisplayDriver;
class MusicPlayer;
class PartRenderer;

// The show's music, relative to the folder that holds data/.
inline constexpr const char* kShowMusicFile = "data/cute5c.xm";

// How a program runs the show beyond the display, music and clock.
struct ShowRunOptions {
    // The music starts at this order; the loops whose orders have passed end
    // at once, so the show opens on the part the order belongs to.
    std::int32_t startOrder = 0;
    // Renders the parts when given (capture, timing); not owned.
    PartRenderer* partRenderer = nullptr;
};

// The program entry: builds the show (render driver, part list, the four
// parts), runs it on the given display and music with the given clock, and
// returns the process exit status. Paths are relative to the working
// directory, which holds data/.
int runShow(DisplayDriver& display, MusicPlayer& music, Clock& clock, const ShowRunOptions& options = {});

} // namespace zov
