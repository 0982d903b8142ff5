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
    fellBehind_ = false;
    // Steps before the start are not the part's.
    stepsRun_ = feedback::lastStepBy(feedback::milliseconds(seconds) - 1);
}

Part::StepSpan Part::takeDueSteps(float time)
{
    StepSpan span;
    span.last = feedback::lastStepBy(feedback::milliseconds(time));
    span.first = stepsRun_ + 1;
    if (stepBound_ > 0 && !catchUpFully_ && span.last - span.first >= stepBound_) {
        span.first = span.last - stepBound_ + 1;
        fellBehind_ = true;
    }
    catchUpFully_ = false;
    if (span.last > stepsRun_)
        stepsRun_ = span.last;
    return span;
}

void Part::runDueSteps(NewRenderDriver& renderDriver, const Bitmap& frame, float time)
{
    const StepSpan steps = takeDueSteps(time);
    for (std::int64_t j = steps.first; j <= steps.last; ++j)
        step(renderDriver, frame, feedback::stepTime(j));
}

void Part::catchUpTo(NewRenderDriver& renderDriver, const Bitmap& frame, float time)
{
    catchUpFully();
    runDueSteps(renderDriver, frame, time);
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
