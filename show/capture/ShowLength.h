#pragma once

#include "show/capture/FrameRate.h"

#include <cstdint>
#include <string>

namespace zov {

// How many frames a headless run of the show at rate will present from the
// music's order startOrder: the music alone is played ahead (no picture is
// drawn) through the show's loops, plus the end picture's time. 0 when the
// music does not load or does not end the loops within half an hour.
std::int64_t estimateShowFrames(FrameRate rate, std::int32_t startOrder);

// Empty when the show's music has order startOrder; otherwise what is
// wrong, as a line to print. Order 0 is never checked: a show without its
// music fails later with its own line.
std::string checkStartOrder(std::int32_t startOrder);

} // namespace zov
