#pragma once

#include "platform/Clock.h"

#include <cstdint>

namespace zov {

// A clock that follows another one as it is steered: held still, set to any
// reading, or run at a fraction of the other's pace. The show reads this
// one, so a program can hold the show while it loads, open it at any time,
// pause it and slow it down. Starts held at 0.
class SteerableClock final : public Clock {
public:
    explicit SteerableClock(const Clock& base) : base_(base) {}

    std::int64_t ticks() const override;
    std::int64_t ticksPerSecond() const override { return base_.ticksPerSecond(); }

    void pause();
    void resume();
    bool paused() const { return paused_; }
    // Reads `ticks` from now on; running or held as before.
    void set(std::int64_t ticks);
    // Runs at numerator / denominator of the base clock's pace from now on
    // (1 / 2: half speed). Both above 0.
    void setPace(std::int64_t numerator, std::int64_t denominator);

private:
    const Clock& base_;
    std::int64_t anchor_ = 0;     // the reading at baseAnchor_
    std::int64_t baseAnchor_ = 0; // the base clock's ticks when last steered
    std::int64_t numerator_ = 1;
    std::int64_t denominator_ = 1;
    bool paused_ = true;
};

} // namespace zov
