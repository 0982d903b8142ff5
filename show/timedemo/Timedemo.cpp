#include "show/timedemo/Timedemo.h"

#include "platform/Clock.h"
#include "runtime/Part.h"
#include "show/ShowTable.h"
#include "show/capture/LockstepShow.h"

#include <algorithm>
#include <cstdio>

namespace zov {

namespace {

// Room for the frame times of a ten-minute part, made before the first frame.
constexpr std::size_t kReservedFrames = kTimedemoFps * 600;

double secondsBetween(const Clock& clock, std::int64_t from, std::int64_t to)
{
    return static_cast<double>(to - from) / static_cast<double>(clock.ticksPerSecond());
}

} // namespace

// Times each part's render and counts the presented frames.
class TimedemoRun::Watch final : public PartRenderer {
public:
    Watch(const Clock& clock, int framesPerPart, std::size_t expectedFrames)
        : clock_(clock), framesPerPart_(framesPerPart)
    {
        for (auto& times : seconds)
            times.reserve(expectedFrames);
    }

    void renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time) override
    {
        const double took = timePartFrame(part, frame, renderDriver, time, clock_);
        if (index >= 0 && index < kShowPartCount)
            seconds[static_cast<std::size_t>(index)].push_back(took);
    }

    void frame(const FrameFacts& facts)
    {
        lastTicks = clock_.ticks();
        if (frames++ == 0)
            firstTicks = lastTicks;
        // The end picture, or a part that has had its frames, gives way to a key.
        if (framesPerPart_ > 0 &&
            (facts.part < 0 ||
             static_cast<int>(seconds[static_cast<std::size_t>(facts.part)].size()) >= framesPerPart_))
            show->pressKey();
    }

    std::vector<double> seconds[kShowPartCount];
    std::int64_t frames = 0;
    std::int64_t firstTicks = 0;
    std::int64_t lastTicks = 0;
    LockstepShow* show = nullptr;

private:
    const Clock& clock_;
    int framesPerPart_;
};

TimedemoRun::TimedemoRun(LockstepShow& show, int framesPerPart, const Clock& clock)
    : show_(show), clock_(clock),
      watch_(std::make_unique<Watch>(clock, framesPerPart,
                                     framesPerPart > 0 ? static_cast<std::size_t>(framesPerPart) : kReservedFrames))
{
    watch_->show = &show_;
    show_.setInnerRenderer(watch_.get());
    show_.setKeyboard(framesPerPart > 0);
}

TimedemoRun::~TimedemoRun()
{
    show_.setInnerRenderer(nullptr);
}

bool TimedemoRun::begin()
{
    return show_.begin(0) == 0;
}

bool TimedemoRun::step()
{
    const LockstepFrame* frame = show_.next();
    if (frame == nullptr)
        return false;
    watch_->frame(frame->facts);
    return true;
}

TimedemoReport TimedemoRun::finish(std::int64_t startTicks)
{
    TimedemoReport report;
    report.status = show_.finish();
    for (int p = 0; p < kShowPartCount; ++p) {
        TimedemoReport::PartRow row;
        row.part = p;
        const std::vector<double>& s = watch_->seconds[p];
        row.frames = static_cast<std::int64_t>(s.size());
        for (double t : s)
            row.renderSeconds += t;
        row.times = summarizeFrameTimes(s);
        report.parts.push_back(row);
    }
    report.showFrames = watch_->frames;
    report.showSeconds = secondsBetween(clock_, watch_->firstTicks, watch_->lastTicks);
    report.startUpSeconds = secondsBetween(clock_, startTicks, watch_->firstTicks);
    return report;
}

std::string timedemoTable(const TimedemoReport& r)
{
    std::string out;
    char line[200];
    std::snprintf(line, sizeof line, "%-32s %7s %10s %10s %10s %9s\n", "part", "frames", "median ms", "p99 ms",
                  "worst ms", "fps");
    out += line;
    for (const TimedemoReport::PartRow& p : r.parts) {
        char name[64];
        std::snprintf(name, sizeof name, "%d %s", p.part + 1, kShowParts[p.part].title);
        const double fps = p.renderSeconds > 0.0 ? static_cast<double>(p.frames) / p.renderSeconds : 0.0;
        std::snprintf(line, sizeof line, "%-32s %7lld %10.3f %10.3f %10.3f %9.1f\n", name,
                      static_cast<long long>(p.frames), p.times.median * 1e3, p.times.p99 * 1e3,
                      p.times.worst * 1e3, fps);
        out += line;
    }
    const double showFps = r.showSeconds > 0.0 ? static_cast<double>(r.showFrames - 1) / r.showSeconds : 0.0;
    std::snprintf(line, sizeof line,
                  "whole show: %lld frames in %.2f s, %.1f frames per second\n"
                  "start-up: %.3f s from the program's start to the first frame\n"
                  "peak resident memory: %.1f MB\n",
                  static_cast<long long>(r.showFrames), r.showSeconds, showFps, r.startUpSeconds,
                  static_cast<double>(r.peakResidentKb) / 1024.0);
    return out + line;
}

std::string timedemoJson(const TimedemoReport& r)
{
    std::string out = "{\n  \"parts\": [\n";
    char line[320];
    for (std::size_t i = 0; i < r.parts.size(); ++i) {
        const TimedemoReport::PartRow& p = r.parts[i];
        const double fps = p.renderSeconds > 0.0 ? static_cast<double>(p.frames) / p.renderSeconds : 0.0;
        std::snprintf(line, sizeof line,
                      "    {\"part\": %d, \"name\": \"%s\", \"frames\": %lld, \"median_ms\": %.4f, \"p99_ms\": %.4f, "
                      "\"worst_ms\": %.4f, \"fps\": %.2f}%s\n",
                      p.part + 1, kShowParts[p.part].title, static_cast<long long>(p.frames), p.times.median * 1e3,
                      p.times.p99 * 1e3, p.times.worst * 1e3, fps, i + 1 < r.parts.size() ? "," : "");
        out += line;
    }
    const double showFps = r.showSeconds > 0.0 ? static_cast<double>(r.showFrames - 1) / r.showSeconds : 0.0;
    std::snprintf(line, sizeof line,
                  "  ],\n  \"show\": {\"frames\": %lld, \"seconds\": %.4f, \"fps\": %.2f},\n"
                  "  \"startup_seconds\": %.4f,\n  \"peak_resident_kb\": %ld\n}\n",
                  static_cast<long long>(r.showFrames), r.showSeconds, showFps, r.startUpSeconds, r.peakResidentKb);
    return out + line;
}

} // namespace zov
