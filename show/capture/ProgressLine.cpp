#include "show/capture/ProgressLine.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cinttypes>

namespace zov {

ProgressLine::ProgressLine(std::FILE* out, bool terminal, const Clock& clock, std::int64_t totalFrames)
    : out_(out), terminal_(terminal), clock_(clock), total_(std::max<std::int64_t>(totalFrames, 0)),
      startTicks_(clock.ticks())
{
}

double ProgressLine::seconds() const
{
    return static_cast<double>(clock_.ticks() - startTicks_) / static_cast<double>(clock_.ticksPerSecond());
}

int ProgressLine::format(char* out, std::size_t size, std::int64_t frames, int part, double showSeconds,
                         std::int64_t totalFrames, double wallSeconds, double encoderFps)
{
    char partText[16] = "end";
    if (part >= 0)
        std::snprintf(partText, sizeof partText, "%d", part + 1);
    const double fps = wallSeconds > 0.0 ? static_cast<double>(frames) / wallSeconds : 0.0;
    int n = std::snprintf(out, size, "frame %" PRId64 "  part %s  %.2f s", frames, partText, showSeconds);
    if (totalFrames > 0 && n >= 0 && static_cast<std::size_t>(n) < size) {
        const std::int64_t shown = std::min(frames, totalFrames);
        n += std::snprintf(out + n, size - static_cast<std::size_t>(n), "  %3d%%",
                           static_cast<int>(100 * shown / totalFrames));
    }
    if (n >= 0 && static_cast<std::size_t>(n) < size)
        n += std::snprintf(out + n, size - static_cast<std::size_t>(n), "  %.1f fps", fps);
    if (encoderFps >= 0.0 && n >= 0 && static_cast<std::size_t>(n) < size)
        n += std::snprintf(out + n, size - static_cast<std::size_t>(n), "  encoder %.1f fps", encoderFps);
    if (totalFrames > 0 && fps > 0.0 && n >= 0 && static_cast<std::size_t>(n) < size) {
        const auto framesLeft = static_cast<double>(std::max<std::int64_t>(totalFrames - frames, 0));
        const auto left = static_cast<std::int64_t>(framesLeft / fps + 0.5);
        n += std::snprintf(out + n, size - static_cast<std::size_t>(n), "  %" PRId64 ":%02" PRId64 " left", left / 60,
                           left % 60);
    }
    return n;
}

void ProgressLine::update(std::int64_t frame, int part, double showSeconds)
{
    frames_ = frame + 1;
    part_ = part;
    showSeconds_ = showSeconds;
    const double now = seconds();
    const double period = terminal_ ? kTerminalPeriod : kLogPeriod;
    if (now - lastPrint_ < period)
        return;
    lastPrint_ = now;
    print();
}

void ProgressLine::print()
{
    char line[160];
    format(line, sizeof line, frames_, part_, showSeconds_, total_, seconds(), encoderFps_);
    // Clear to the end of the line: the new text may be shorter.
    std::fprintf(out_, terminal_ ? "\r%s\033[K" : "%s\n", line);
    std::fflush(out_);
}

void ProgressLine::finish(bool reachedTheEnd)
{
    if (frames_ == 0)
        return;
    if (reachedTheEnd && total_ > 0)
        total_ = frames_;
    print();
    if (terminal_)
        std::fputc('\n', out_);
    std::fflush(out_);
}

} // namespace zov
