#include "effects/PartTiming.h"

#include "platform/Clock.h"
#include "runtime/Part.h"

#include <algorithm>
#include <cmath>

namespace zov {

double timePartFrame(Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float showTime, const Clock& clock)
{
    const std::int64_t before = clock.ticks();
    part.render(frame, renderDriver, showTime);
    return static_cast<double>(clock.ticks() - before) / static_cast<double>(clock.ticksPerSecond());
}

std::vector<double> timePartFrames(Part& part, Bitmap& frame, NewRenderDriver& renderDriver,
                                   const std::vector<float>& showTimes, const Clock& clock)
{
    std::vector<double> seconds(showTimes.size());
    for (std::size_t i = 0; i < showTimes.size(); ++i)
        seconds[i] = timePartFrame(part, frame, renderDriver, showTimes[i], clock);
    return seconds;
}

std::vector<float> evenShowTimes(float start, float step, int count)
{
    std::vector<float> times(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < times.size(); ++i)
        times[i] = start + step * static_cast<float>(i);
    return times;
}

FrameTimeSummary summarizeFrameTimes(std::vector<double> seconds)
{
    FrameTimeSummary s;
    if (seconds.empty())
        return s;
    std::sort(seconds.begin(), seconds.end());
    const std::size_t n = seconds.size();
    s.median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2.0;
    // Nearest rank: the smallest time that at least 99% of frames reach.
    const auto rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n)));
    s.p99 = seconds[std::max<std::size_t>(rank, 1) - 1];
    s.worst = seconds.back();
    return s;
}

} // namespace zov
