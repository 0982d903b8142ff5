#pragma once

#include <cstdint>

namespace zov {

// Waits until a clock reads a given number of ticks. The real one sleeps on
// the monotonic clock; a test's moves its hand-advanced clock there, so a
// paced loop runs without waiting.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepUntil(std::int64_t ticks) = 0;
};

// Sleeps until MonotonicClock reads ticks.
class MonotonicSleeper final : public Sleeper {
public:
    void sleepUntil(std::int64_t ticks) override;
};

} // namespace zov
