#include "show/live/FramePacer.h"

#include "platform/Clock.h"
#include "platform/Sleeper.h"

#include <algorithm>

namespace zov {

FramePacer::FramePacer(const Clock& clock, Sleeper& sleeper, bool vsync)
    : clock_(clock), sleeper_(sleeper), mode_(vsync ? Mode::Vsync : Mode::Uncapped)
{
}

void FramePacer::waitForTurn()
{
    if (mode_ != Mode::Clock)
        return;
    const std::int64_t period = clock_.ticksPerSecond() / kClockHz;
    const std::int64_t now = clock_.ticks();
    if (nextTurn_ < 0)
        nextTurn_ = now;
    if (nextTurn_ > now)
        sleeper_.sleepUntil(nextTurn_);
    else if (now - nextTurn_ > period)
        nextTurn_ = now; // a frame late by more than a turn: no hurrying after it
    nextTurn_ += period;
}

void FramePacer::presented(const DisplayDriver::Pacing& pacing)
{
    if (mode_ != Mode::Vsync)
        return;
    if (!pacing.vsync) {
        mode_ = Mode::Clock;
        return;
    }
    const std::int64_t now = clock_.ticks();
    const std::int64_t last = lastPresent_;
    lastPresent_ = now;
    if (last < 0)
        return;
    intervals_[probed_++] = now - last;
    if (probed_ < kProbe)
        return;
    probed_ = 0;
    std::nth_element(intervals_.begin(), intervals_.begin() + kProbe / 2, intervals_.end());
    const int refresh = pacing.refreshHz > 0 ? pacing.refreshHz : kAssumedRefreshHz;
    // Blocking presents come a refresh apart or more; most of these came
    // well within one.
    if (intervals_[kProbe / 2] * 4 < clock_.ticksPerSecond() * 3 / refresh)
        mode_ = Mode::Clock;
}

void FramePacer::idled()
{
    lastPresent_ = -1;
    nextTurn_ = -1;
}

} // namespace zov
