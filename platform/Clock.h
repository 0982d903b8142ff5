#pragma once

#include <cstdint>

namespace zov {

// A counter and its frequency, like a performance counter. The show reads
// time only through this, so a hand-advanced clock makes every frame
// reproducible.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t ticks() const = 0;
    virtual std::int64_t ticksPerSecond() const = 0;
};

// The real monotonic clock, in nanoseconds.
class MonotonicClock final : public Clock {
public:
    std::int64_t ticks() const override;
    std::int64_t ticksPerSecond() const override { return 1'000'000'000; }
};

// A clock that only moves when told to; for tests and frame capture.
class ManualClock final : public Clock {
public:
    explicit ManualClock(std::int64_t ticksPerSecond = 1'000'000) : frequency_(ticksPerSecond) {}
    std::int64_t ticks() const override { return now_; }
    std::int64_t ticksPerSecond() const override { return frequency_; }
    void advanceTicks(std::int64_t ticks) { now_ += ticks; }
    void advanceSeconds(double seconds) { now_ += static_cast<std::int64_t>(seconds * static_cast<double>(frequency_)); }
    void setTicks(std::int64_t ticks) { now_ = ticks; }

private:
    std::int64_t frequency_;
    std::int64_t now_ = 0;
};

} // namespace zov
