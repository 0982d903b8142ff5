#include "platform/Clock.h"

#include <chrono>

namespace zov {

std::int64_t MonotonicClock::ticks() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace zov
