#pragma once

#include "effects/PartTiming.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zov {

class Clock;

// What a timedemo measured.
struct TimedemoReport {
    struct PartRow {
        int part = 0; // 0 to 3
        std::int64_t frames = 0;
        FrameTimeSummary times; // seconds
        double renderSeconds = 0.0; // all its frames
    };
    std::vector<PartRow> parts;
    std::int64_t showFrames = 0; // every presented frame, the end picture's too
    double showSeconds = 0.0;    // from the first frame to the last
    double startUpSeconds = 0.0; // program start to the first frame
    long peakResidentKb = 0;
    int status = 0;
};

// Runs the show headless in lockstep with its music at 60 frames of show
// time a second, as fast as it can, timing every part's render with the
// per-part harness. framesPerPart > 0: a part ends after that many frames
// (as by a key) and the end picture is left at once. The working directory
// holds data/; startTicks is the program's start on clock.
TimedemoReport runTimedemo(int framesPerPart, const Clock& clock, std::int64_t startTicks);

// The table for people, and the same as JSON for programs.
std::string timedemoTable(const TimedemoReport& report);
std::string timedemoJson(const TimedemoReport& report);

} // namespace zov
