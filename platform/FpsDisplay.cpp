#include "platform/FpsDisplay.h"

#include "platform/Clock.h"

#include <cstdio>

namespace zov {

FpsDisplay::FpsDisplay(std::unique_ptr<DisplayDriver> inner, const Clock& clock, Sink sink)
    : WrappedDisplay(std::move(inner)), clock_(clock), sink_(std::move(sink))
{
    if (!sink_)
        sink_ = [](const std::string& line) { std::fputs(line.c_str(), stderr); };
}

bool FpsDisplay::present()
{
    const bool shown = WrappedDisplay::present();
    count();
    return shown;
}

bool FpsDisplay::presentBitmap(const Bitmap& bitmap)
{
    const bool shown = WrappedDisplay::presentBitmap(bitmap);
    count();
    return shown;
}

void FpsDisplay::count()
{
    const std::int64_t now = clock_.ticks();
    if (periodStart_ < 0)
        periodStart_ = now;
    ++frames_;
    const std::int64_t elapsed = now - periodStart_;
    if (elapsed < clock_.ticksPerSecond())
        return;
    char line[64];
    const double seconds = static_cast<double>(elapsed) / static_cast<double>(clock_.ticksPerSecond());
    std::snprintf(line, sizeof line, "%.1f fps\n", static_cast<double>(frames_) / seconds);
    sink_(line);
    periodStart_ = now;
    frames_ = 0;
}

} // namespace zov
