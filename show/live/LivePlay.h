#pragma once

#include "runtime/ShowTime.h"

#include <cstdint>
#include <optional>

namespace zov {

class Clock;
class DisplayDriver;
class MusicPlayer;
class Sleeper;
class SourceOpener;

// How a program plays the show in real time.
struct LiveOptions {
    std::int32_t startOrder = 0;
    // The show opens at this show time, as a show played through from its
    // start is there.
    std::optional<ShowTime> startTime;
    // Keys study the show (StudyController) instead of skipping parts.
    bool study = false;
    // Paced: the display's refresh, or else 60 frames a second on the clock.
    // Otherwise as fast as frames are drawn.
    bool paced = true;
    // Stop after this many frames with success; 0: play to the end.
    std::int64_t frameLimit = 0;
    // Feedback steps a frame at most: a slow machine falls behind instead
    // of spiralling.
    int feedbackStepBound = 8;
};

// Plays the show on display with its music in real time: paced (see
// FramePacer); while the show stands still (the end picture, a held study)
// the screen is left as it is and the loop waits for input. The show clock
// is held while the show loads and starts with its first frame. clock is
// the real clock and sleeper waits on it; opener opens the show's music to
// work out its course, which a start time and study mode need (null: no
// course). Returns the exit status.
int playLive(DisplayDriver& display, MusicPlayer& music, SourceOpener* opener, const Clock& clock, Sleeper& sleeper,
             const LiveOptions& options);

} // namespace zov
