#include "platform/SteerableClock.h"

namespace zov {

std::int64_t SteerableClock::ticks() const
{
    if (paused_)
        return anchor_;
    return anchor_ + (base_.ticks() - baseAnchor_) * numerator_ / denominator_;
}

void SteerableClock::pause()
{
    anchor_ = ticks();
    paused_ = true;
}

void SteerableClock::resume()
{
    if (!paused_)
        return;
    baseAnchor_ = base_.ticks();
    paused_ = false;
}

void SteerableClock::set(std::int64_t ticks)
{
    anchor_ = ticks;
    baseAnchor_ = base_.ticks();
}

void SteerableClock::setPace(std::int64_t numerator, std::int64_t denominator)
{
    if (numerator <= 0 || denominator <= 0)
        return;
    set(ticks());
    numerator_ = numerator;
    denominator_ = denominator;
}

} // namespace zov
