#pragma once

#include <cstdint>

namespace zov {

class Bitmap;
class NewRenderDriver;
class Part;

// Gives the time at which a transition ends, in the units of its duration.
class TransitionClock {
public:
    virtual ~TransitionClock() = default;
    virtual std::uint32_t endTime() const = 0;
};

// Joins two consecutive parts. The operations keep this order.
class Transition {
public:
    virtual void init(Part& from, Part& to, NewRenderDriver& renderDriver, Bitmap& frame) = 0;
    // unused is passed along and never read.
    virtual void render(Part& from, const TransitionClock& clock, const void* unused, float time,
                        NewRenderDriver& renderDriver, Bitmap& destination) = 0;
    virtual ~Transition() = default;
};

} // namespace zov
