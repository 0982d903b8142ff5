#pragma once

#include <vector>

namespace zov {

class Bitmap;
class Clock;
class NewRenderDriver;
class Part;

// Renders an initialised part into frame once for each show time (seconds,
// as the part list would pass them) and returns how long each render took,
// in seconds, read from clock. Allocates only the result, before the first
// frame. For benchmarks and timing runs of the show.
std::vector<double> timePartFrames(Part& part, Bitmap& frame, NewRenderDriver& renderDriver,
                                   const std::vector<float>& showTimes, const Clock& clock);

// One render of part at showTime: the seconds it took, read from clock.
// Allocates nothing, so a program can time every frame of a running show.
double timePartFrame(Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float showTime, const Clock& clock);

// count show times from start, step seconds apart.
std::vector<float> evenShowTimes(float start, float step, int count);

struct FrameTimeSummary {
    double median = 0.0; // seconds
    double p99 = 0.0;    // seconds; 99 in 100 frames took no longer
    double worst = 0.0;  // seconds
};

// Of per-frame seconds; all zero for none.
FrameTimeSummary summarizeFrameTimes(std::vector<double> seconds);

} // namespace zov
