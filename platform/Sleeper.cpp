#include "platform/Sleeper.h"

#include <chrono>
#include <thread>

namespace zov {

void MonotonicSleeper::sleepUntil(std::int64_t ticks)
{
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ticks)));
}

} // namespace zov
