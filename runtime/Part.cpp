#include "runtime/Part.h"

#include "runtime/ActionTable.h"
#include "runtime/FeedbackClock.h"

#include <cmath>

namespace zov {

Part::Part() = default;
Part::~Part() = default;

void Part::setActionTable(std::unique_ptr<ActionTable> table)
{
    actionTable_ = std::move(table);
}

void Part::start(float seconds)
{
    setStartTime(seconds);
    restartFeedback();
    // Steps before the start are not the part's.
    stepsRun_ = feedback::lastStepBy(feedback::milliseconds(seconds) - 1);
}

void Part::advanceTo(NewRenderDriver& renderDriver, const Bitmap& frame, float time)
{
    const std::int64_t last = feedback::lastStepBy(feedback::milliseconds(time));
    std::int64_t first = stepsRun_ + 1;
    if (stepBound_ > 0 && last - first >= stepBound_)
        first = last - stepBound_ + 1;
    for (std::int64_t j = first; j <= last; ++j)
        step(renderDriver, frame, feedback::stepTime(j));
    if (last > stepsRun_)
        stepsRun_ = last;
}

void Part::catchUpTo(NewRenderDriver& renderDriver, const Bitmap& frame, float time)
{
    const int bound = stepBound_;
    stepBound_ = 0;
    advanceTo(renderDriver, frame, time);
    stepBound_ = bound;
}

namespace feedback {

float stepTime(std::int64_t step)
{
    return static_cast<float>(static_cast<double>(stepMs(step)) * 0.001);
}

std::int64_t milliseconds(float seconds)
{
    return std::llround(static_cast<double>(seconds) * 1000.0);
}

} // namespace feedback

} // namespace zov
