#include "runtime/DemoTimer.h"

#include "platform/Clock.h"

#include <cmath>

namespace zov {

DemoTimer::DemoTimer(const Clock& clock) : clock_(clock)
{
    frequency_ = clock_.ticksPerSecond();
    // A clock without a frequency reads as standing still rather than as
    // infinite milliseconds.
    secondsPerTick_ = frequency_ > 0 ? 1.0 / static_cast<double>(frequency_) : 0.0;
    baseMs_ = readMilliseconds();
    reset();
}

std::uint32_t DemoTimer::readMilliseconds()
{
    counter_ = clock_.ticks();
    const double ms = static_cast<double>(counter_) * secondsPerTick_ * 1000.0;
    // Truncate toward zero, then keep the low 32 bits: readings wrap after
    // 2^32 ms, and so do their differences.
    double wrapped = std::fmod(std::trunc(ms), 4294967296.0);
    if (wrapped < 0.0)
        wrapped += 4294967296.0;
    return static_cast<std::uint32_t>(wrapped);
}

float DemoTimer::reset()
{
    const std::uint32_t elapsedMs = readMilliseconds() - baseMs_;
    zeroOffset_ = static_cast<float>(static_cast<double>(elapsedMs) * 0.001);
    return zeroOffset_;
}

float DemoTimer::now()
{
    const std::uint32_t elapsedMs = readMilliseconds() - baseMs_;
    const double seconds = static_cast<double>(elapsedMs) * 0.001;
    return static_cast<float>(seconds - zeroOffset_);
}

} // namespace zov
