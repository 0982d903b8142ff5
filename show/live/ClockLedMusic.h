#pragma once

#include "platform/MusicPlayer.h"
#include "runtime/ShowTime.h"

#include <cstdint>

namespace zov {

class Clock;
class MusicTimeline;

// The music as a study of the show hears it: the show clock leads, and the
// position the show is told is the one the music's timeline has at the
// clock's time, so that a frame depends on its show time alone whether the
// show runs, stands still or runs slow. The sound comes from the player
// beneath and is brought to the clock wherever the show is taken: at a
// seek, on resuming, at a change of pace. At the end picture the sound is
// only held, so that going back brings it again.
class ClockLedMusic final : public MusicPlayer {
public:
    ClockLedMusic(MusicPlayer& sound, const Clock& showClock) : sound_(sound), clock_(showClock) {}

    // From now on the positions come from timeline (frames a second: rate),
    // whose frame 0 is show time 0.
    void follow(const MusicTimeline& timeline, int rate);
    // The sound held, or playing from show time t at 1 / slowdown of its
    // pace. False when the player cannot change its pace: the sound is then
    // silent while slowed.
    bool steer(bool paused, int slowdown, ShowTime t);

    bool load(const char* path) override { return sound_.load(path); }
    bool start() override { return sound_.start(); }
    bool resumeStream(std::int32_t unused) override { return sound_.resumeStream(unused); }
    bool playAt(std::int32_t order, std::int32_t row) override { return sound_.playAt(order, row); }
    bool stopStream() override { return sound_.stopStream(); }
    // Holds the sound (the end picture); playFrom brings it back.
    bool shutdown() override;
    std::int32_t order() override;
    std::int32_t row() override;
    bool pauseMusic() override { return sound_.pauseMusic(); }
    bool pauseStream() override { return sound_.pauseStream(); }
    std::int32_t streamPosition() override { return sound_.streamPosition(); }
    std::uint64_t passes() override { return sound_.passes(); }
    std::int64_t orderStartMs() override;
    bool playFrom(std::int64_t numerator, std::int64_t denominator) override;

    // The timeline's frame at the show clock's time.
    std::int64_t frameNow() const;

private:
    std::uint32_t positionNow() const;
    bool playSoundFrom(ShowTime t);

    MusicPlayer& sound_;
    const Clock& clock_;
    const MusicTimeline* timeline_ = nullptr;
    int rate_ = 44100;
    bool paused_ = false;
    int slowdown_ = 1;
    bool ended_ = false; // held at the end picture
};

} // namespace zov
