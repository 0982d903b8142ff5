#include "show/live/ClockLedMusic.h"

#include "platform/Clock.h"
#include "platform/MusicTimeline.h"

namespace zov {

namespace {

constexpr std::uint32_t kOrderBits = 0xFFFF;

} // namespace

void ClockLedMusic::follow(const MusicTimeline& timeline, int rate)
{
    timeline_ = &timeline;
    rate_ = rate > 0 ? rate : 44100;
}

std::int64_t ClockLedMusic::frameNow() const
{
    // One tick on: a clock set to a frame time k / fps reads it rounded
    // down to the tick, and must still meet the music at sample
    // k * rate / fps as a capture does.
    const std::int64_t perSecond = clock_.ticksPerSecond();
    if (perSecond <= 0)
        return 0;
    return (clock_.ticks() + 1) * rate_ / perSecond;
}

std::uint32_t ClockLedMusic::positionNow() const
{
    return timeline_->toldAt(frameNow());
}

std::int32_t ClockLedMusic::order()
{
    return timeline_ ? positionOrder(positionNow()) : sound_.order();
}

std::int32_t ClockLedMusic::row()
{
    return timeline_ ? positionRow(positionNow()) : sound_.row();
}

std::int64_t ClockLedMusic::orderStartMs()
{
    if (!timeline_)
        return sound_.orderStartMs();
    const std::int64_t block = timeline_->blockFrames();
    const std::int64_t told = frameNow() / block * block - 1;
    return timeline_->runStart(told, kOrderBits) * 1000 / rate_;
}

bool ClockLedMusic::shutdown()
{
    ended_ = true;
    sound_.pauseMusic();
    return true;
}

bool ClockLedMusic::playFrom(std::int64_t numerator, std::int64_t denominator)
{
    ended_ = false;
    if (paused_) {
        sound_.pauseMusic();
        return true;
    }
    return playSoundFrom({numerator, denominator});
}

bool ClockLedMusic::steer(bool paused, int slowdown, ShowTime t)
{
    paused_ = paused;
    slowdown_ = slowdown > 0 ? slowdown : 1;
    if (paused_ || ended_) {
        sound_.pauseMusic();
        // Asked now so that a held show can say how it will sound.
        const bool follows = slowdown_ == 1 || sound_.setTempo(1.0 / slowdown_);
        sound_.setTempo(1.0);
        return follows;
    }
    return playSoundFrom(t);
}

bool ClockLedMusic::playSoundFrom(ShowTime t)
{
    // The skipped sound is worked out at the written pace.
    sound_.setTempo(1.0);
    sound_.playFrom(t.numerator, t.denominator);
    if (slowdown_ == 1 || sound_.setTempo(1.0 / slowdown_))
        return true;
    sound_.pauseMusic();
    return false;
}

} // namespace zov
