#pragma once

#include <cstdint>

namespace zov {

// A moment of show time as an exact fraction of a second from the show's
// start, so that the clock's milliseconds, the music's frames and a
// capture's frames agree on it: frame k of a capture at fps frames a second
// is {k, fps}.
struct ShowTime {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;

    // Whole units (of unitsPerSecond a second) before this moment.
    constexpr std::int64_t in(std::int64_t unitsPerSecond) const { return numerator * unitsPerSecond / denominator; }
    constexpr double seconds() const { return static_cast<double>(numerator) / static_cast<double>(denominator); }

    static constexpr ShowTime ofMilliseconds(std::int64_t ms) { return {ms, 1000}; }
};

} // namespace zov
