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

void FramePacer::presented(const DisplayDriver::Pacing& pacing, std::int64_t presentTicks)
{
    if (mode_ == Mode::Uncapped)
        return;
    if (!pacing.vsync) {
        mode_ = Mode::Clock;
        return;
    }
    const std::int64_t now = clock_.ticks();
    const std::int64_t last = lastPresent_;
    lastPresent_ = now;
    if (mode_ == Mode::Vsync && last < 0)
        return;
    samples_[probed_++] = mode_ == Mode::Vsync ? now - last : presentTicks;
    if (probed_ < kProbe)
        return;
    probed_ = 0;
    std::nth_element(samples_.begin(), samples_.begin() + kProbe / 2, samples_.end());
    const std::int64_t median = samples_[kProbe / 2];
    const int refresh = pacing.refreshHz > 0 ? pacing.refreshHz : kAssumedRefreshHz;
    const std::int64_t perSecond = clock_.ticksPerSecond();
    // Blocking presents come a refresh apart or more; most of these came
    // well within one. Paced on the clock, presents that take half a refresh
    // or more wait for it again.
    if (mode_ == Mode::Vsync && median * 4 < perSecond * 3 / refresh)
        mode_ = Mode::Clock;
    else if (mode_ == Mode::Clock && median * 2 >= perSecond / refresh)
        mode_ = Mode::Vsync;
}

void FramePacer::idled()
{
    lastPresent_ = -1;
    nextTurn_ = -1;
}

} // namespace zov
