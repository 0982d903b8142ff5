#pragma once

#include <cstdint>

namespace zov {

class Clock;

// The show clock: seconds since the last reset, as 32-bit floats, with a
// resolution of one millisecond whatever the clock's frequency.
class DemoTimer {
public:
    // Reads the clock's frequency and starts at 0.
    explicit DemoTimer(const Clock& clock);

    // Seconds since the last reset.
    float now();
    // Restarts at 0; returns the new zero offset (seconds since construction).
    float reset();

private:
    // Whole milliseconds of the clock, kept to 32 bits so differences wrap.
    std::uint32_t readMilliseconds();

    const Clock& clock_;
    std::int64_t counter_ = 0; // last clock reading, in ticks
    std::int64_t frequency_ = 0; // ticks per second
    double secondsPerTick_ = 0.0;
    float zeroOffset_ = 0.0f; // seconds from baseMs_ to the last reset
    std::uint32_t baseMs_ = 0; // milliseconds at construction
};

} // namespace zov
