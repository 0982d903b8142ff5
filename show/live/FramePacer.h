#pragma once

#include "platform/DisplayDriver.h"

#include <array>
#include <cstdint>

namespace zov {

class Clock;
class Sleeper;

// Paces a live show's frames. With vsync the display's present waits for
// the screen's refresh. Where it does not (the back-end refused it, or it
// does not block, as under a software renderer: seen from presents coming
// much faster than the refresh), the loop waits for its turn on the clock,
// 60 frames a second; should presents block again (a full-screen program
// made active again), the refresh paces once more. Uncapped, frames come
// as fast as they are drawn.
class FramePacer {
public:
    enum class Mode { Uncapped, Vsync, Clock };
    static constexpr std::int64_t kClockHz = 60;
    // Present intervals judged at a time.
    static constexpr std::size_t kProbe = 30;
    // The refresh assumed when the display does not tell it.
    static constexpr int kAssumedRefreshHz = 60;

    // clock: the real clock; sleeper waits on it.
    FramePacer(const Clock& clock, Sleeper& sleeper, bool vsync);

    // Before a frame is drawn: waits for its turn when pacing on the clock.
    void waitForTurn();
    // After a frame is presented, with what the display says of its pacing
    // and the ticks the present took.
    void presented(const DisplayDriver::Pacing& pacing, std::int64_t presentTicks);
    // The loop waited for input: the time since says nothing of the display.
    void idled();

    Mode mode() const { return mode_; }

private:
    const Clock& clock_;
    Sleeper& sleeper_;
    Mode mode_;
    std::int64_t nextTurn_ = -1; // ticks; -1: the next frame goes at once
    std::int64_t lastPresent_ = -1;
    // Intervals between presents (vsync) or how long presents took (clock).
    std::array<std::int64_t, kProbe> samples_{};
    std::size_t probed_ = 0;
};

} // namespace zov
