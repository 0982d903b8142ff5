#pragma once

#include <cstdint>

namespace zov {

// The fixed clock that state carried from frame to frame (trails, glow)
// advances on, whatever the frame rate: 60 steps a show second, step j at
// floor(j * 1000 / 60) milliseconds of show time. Those are the times a
// 60 fps capture draws its frames at, so there each frame runs one step, as
// the show was made to look; at 30 fps a frame runs two, at 120 every other
// frame none.
namespace feedback {

inline constexpr std::int64_t kStepsPerSecond = 60;

// Milliseconds of show time at which step j falls.
constexpr std::int64_t stepMs(std::int64_t step) { return step * 1000 / kStepsPerSecond; }

// The last step due by ms milliseconds of show time (-1 before step 0).
constexpr std::int64_t lastStepBy(std::int64_t ms)
{
    const std::int64_t scaled = kStepsPerSecond * (ms + 1) - 1;
    return scaled >= 0 ? scaled / 1000 : -1;
}

// Step j's show time as the show clock gives it (seconds, 32-bit float).
float stepTime(std::int64_t step);

// Whole milliseconds of a show-clock reading (seconds with a resolution of
// one millisecond).
std::int64_t milliseconds(float seconds);

} // namespace feedback

} // namespace zov
