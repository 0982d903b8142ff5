#pragma once

#include "effects/PartTiming.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zov {

class Clock;
class LockstepShow;

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

// Runs the show headless in lockstep with its music at kTimedemoFps frames
// of show time a second, as fast as it can, timing every part's render with
// the per-part harness. framesPerPart > 0: a part ends after that many frames
// (as by a key) and the end picture is left at once. The working directory
// holds data/. One frame a step, so that a caller that must not block (the
// web page) can run it between the browser's callbacks:
//
//     LockstepShow show(kTimedemoFps);
//     TimedemoRun run(show, framesPerPart, clock);
//     if (run.begin())
//         while (run.step()) {}
//     TimedemoReport report = run.finish(startTicks);
inline constexpr int kTimedemoFps = 60;

class TimedemoRun {
public:
    // show: not begun yet; it and clock outlive the run.
    TimedemoRun(LockstepShow& show, int framesPerPart, const Clock& clock);
    ~TimedemoRun();

    TimedemoRun(const TimedemoRun&) = delete;
    TimedemoRun& operator=(const TimedemoRun&) = delete;

    // Builds the show; false when it cannot run (finish tells the status).
    bool begin();
    // Draws the next frame; false once the show is over.
    bool step();
    // The show's closing line, then the figures; startTicks is the program's
    // start on the clock. The peak memory is the caller's to fill in.
    TimedemoReport finish(std::int64_t startTicks);

private:
    class Watch;
    LockstepShow& show_;
    const Clock& clock_;
    std::unique_ptr<Watch> watch_;
};

// The table for people, and the same as JSON for programs.
std::string timedemoTable(const TimedemoReport& report);
std::string timedemoJson(const TimedemoReport& report);

} // namespace zov
