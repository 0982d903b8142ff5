#pragma once

#include <cstdint>
#include <cstdio>

namespace zov {

class Clock;

// The one line a capture shows on standard error: frame, part, show time,
// percent of the show, frames per second, the video encoder's frames per
// second when there is one, and time left. On a terminal it is
// redrawn in place a few times a second; otherwise a line is printed every
// few seconds, for logs.
class ProgressLine {
public:
    static constexpr double kTerminalPeriod = 0.25; // seconds between redraws
    static constexpr double kLogPeriod = 5.0;       // seconds between lines

    // totalFrames 0: unknown, and the percent and time left are left out.
    ProgressLine(std::FILE* out, bool terminal, const Clock& clock, std::int64_t totalFrames);

    // After frame `frame` (from 0) of part (from 0, -1 the end picture) at
    // showSeconds; prints when it is time to.
    void update(std::int64_t frame, int part, double showSeconds);
    // The pace of the video encoder (frames per second), shown from now on.
    void setEncoderFps(double fps) { encoderFps_ = fps; }
    // The last state once more, and the line ended; a run that reached the
    // end shows 100% whatever the estimate was.
    void finish(bool reachedTheEnd);

    // The text of the line, without line ending; for tests and finish().
    // wallSeconds: since the first frame; encoderFps below 0: no encoder.
    static int format(char* out, std::size_t size, std::int64_t frames, int part, double showSeconds,
                      std::int64_t totalFrames, double wallSeconds, double encoderFps = -1.0);

private:
    void print();
    double seconds() const;

    std::FILE* out_;
    bool terminal_;
    const Clock& clock_;
    std::int64_t total_;
    std::int64_t startTicks_ = 0;
    double lastPrint_ = 0.0;
    std::int64_t frames_ = 0;
    int part_ = -1;
    double showSeconds_ = 0.0;
    double encoderFps_ = -1.0;
};

} // namespace zov
