#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zov {

// The intervals between the last frames presented, for the overlay's graph
// and frames per second. Fixed storage: recording allocates nothing.
class FrameTimes {
public:
    static constexpr std::size_t kKept = 256;

    // A frame was presented at ticks of a clock of perSecond ticks a second.
    void presented(std::int64_t ticks, std::int64_t perSecond)
    {
        if (last_ >= 0 && perSecond > 0) {
            const std::int64_t micros = (ticks - last_) * 1'000'000 / perSecond;
            newest_ = (newest_ + 1) % kKept;
            micros_[newest_] = static_cast<std::int32_t>(micros < 0 ? 0 : micros > kMaxMicros ? kMaxMicros : micros);
            if (count_ < kKept)
                ++count_;
        }
        last_ = ticks;
    }
    // The loop waited: the next interval would measure the wait.
    void idled() { last_ = -1; }

    std::size_t count() const { return count_; }
    // Microseconds of the interval `back` frames before the newest (0).
    std::int32_t micros(std::size_t back) const { return micros_[(newest_ + kKept - back % kKept) % kKept]; }
    // Frames a second over the newest intervals that make up a second.
    double perSecond() const
    {
        std::int64_t sum = 0;
        std::size_t n = 0;
        while (n < count_ && sum < 1'000'000)
            sum += micros(n++);
        return sum > 0 ? static_cast<double>(n) * 1e6 / static_cast<double>(sum) : 0.0;
    }

private:
    static constexpr std::int64_t kMaxMicros = 10'000'000;

    std::array<std::int32_t, kKept> micros_{};
    std::size_t newest_ = 0;
    std::size_t count_ = 0;
    std::int64_t last_ = -1;
};

} // namespace zov
