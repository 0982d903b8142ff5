// Each part of the show rendered at 512 x 384 over a few seconds of show
// time, one frame after another on one thread, with the floors every frame
// stands on measured in the same run: a memcpy of a frame, and a background
// copy + a whole-frame add + one feedback blur. Prints the median, the 99th
// percentile and the worst frame, and counts what the frames allocated.
//
//   part_bench [frames] [data folder]     (defaults: 2000, the build's bin/)
#include "effects/BubbleRingLayer.h"
#include "effects/FeedbackBlur.h"
#include "effects/PartTiming.h"
#include "effects/RippleGridLayer.h"
#include "image/Bitmap.h"
#include "platform/Clock.h"
#include "raster/NewRenderDriver.h"
#include "runtime/Part.h"
#include "show/ShowTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

// Every operator new of the program is counted: a frame that allocates shows
// up in the table, whatever allocated.
namespace {
std::size_t gNewCalls = 0;
} // namespace

void* operator new(std::size_t size)
{
    ++gNewCalls;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace zov {
namespace {

constexpr int kW = 512;
constexpr int kH = 384;
// Seconds of show time between frames: 60 a second, so that every frame
// runs one step of the feedback clock, as the show is made to look.
constexpr float kFrameStep = 1.0f / 60.0f;

struct Row {
    std::string name;
    FrameTimeSummary times;
    double targetMs; // 0: none
    std::size_t allocations;
};

// Counts what one timed run allocated through operator new or as bitmaps.
struct AllocationCount {
    std::size_t news = gNewCalls;
    std::uint64_t bitmaps = Bitmap::allocatedCount();
    std::size_t since() const
    {
        return gNewCalls - news + static_cast<std::size_t>(Bitmap::allocatedCount() - bitmaps);
    }
};

Row timeLoop(const std::string& name, int frames, const std::function<void()>& work)
{
    MonotonicClock clock;
    std::vector<double> seconds(static_cast<std::size_t>(frames));
    const AllocationCount count;
    for (double& s : seconds) {
        const std::int64_t before = clock.ticks();
        work();
        s = static_cast<double>(clock.ticks() - before) * 1e-9;
    }
    const std::size_t allocations = count.since();
    return {name, summarizeFrameTimes(std::move(seconds)), 0.0, allocations};
}

// A part of the show made and initialised on a frame of its own.
struct PartOnItsOwn {
    explicit PartOnItsOwn(const ShowPartEntry& entry) : frame(kW, kH), part(entry.make(kW, kH, entry.background))
    {
        size.setSize(kW, kH);
        driver = std::make_unique<NewRenderDriver>(size);
        part->init(frame, *driver);
    }
    Bitmap frame;
    Bitmap size;
    std::unique_ptr<NewRenderDriver> driver;
    std::unique_ptr<Part> part;
};

Row timePart(const std::string& name, const ShowPartEntry& entry, int frames, double targetMs)
{
    PartOnItsOwn p(entry);
    // The first frame may make what stays (the grid's feedback bitmap).
    p.part->render(p.frame, *p.driver, 0.0f);
    const std::vector<float> times = evenShowTimes(kFrameStep, kFrameStep, frames);
    MonotonicClock clock;
    const AllocationCount count;
    std::vector<double> seconds = timePartFrames(*p.part, p.frame, *p.driver, times, clock);
    const std::size_t allocations = count.since() - 1; // timePartFrames' own result
    return {name, summarizeFrameTimes(std::move(seconds)), targetMs, allocations};
}

// One step of the part's feedback clock alone (trails, glow): what a frame
// pays for each step it runs, and a seek for each step it replays.
Row timeFeedbackStep(const std::string& name, const ShowPartEntry& entry, int frames)
{
    PartOnItsOwn p(entry);
    p.part->step(*p.driver, p.frame, 0.0f);
    float t = 0.0f;
    return timeLoop(name, frames, [&] { p.part->step(*p.driver, p.frame, t += kFrameStep); });
}


void fillNoise(Bitmap& b, std::uint32_t seed)
{
    for (std::size_t i = 0; i < b.pixelCount(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        b.pixels()[i] = seed;
    }
}

void print(const std::vector<Row>& rows)
{
    std::printf("\n%-34s %10s %10s %10s %8s %7s %s\n", "frame", "median us", "p99 us", "worst us", "target", "allocs",
                "");
    for (const Row& r : rows) {
        const double median = r.times.median * 1e6, p99 = r.times.p99 * 1e6;
        std::string verdict;
        if (r.targetMs > 0.0)
            verdict = (median <= r.targetMs * 1000.0 ? "median ok" : "MEDIAN OVER") +
                      std::string(p99 <= 2.0 * median ? ", p99 ok" : ", P99 OVER 2x");
        char target[16] = "";
        if (r.targetMs > 0.0)
            std::snprintf(target, sizeof target, "%.1f ms", r.targetMs);
        std::printf("%-34s %10.1f %10.1f %10.1f %8s %7zu %s\n", r.name.c_str(), median, p99, r.times.worst * 1e6,
                    target, r.allocations, verdict.c_str());
    }
}

} // namespace
} // namespace zov

int main(int argc, char** argv)
{
    using namespace zov;
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const std::filesystem::path data = argc > 2 ? argv[2] : ZOV_OUTPUT_DIR;
    std::error_code ec;
    std::filesystem::current_path(data, ec);
    if (ec || !std::filesystem::exists("data/bak1.jpg")) {
        std::fprintf(stderr, "part_bench: no data/ folder in %s\n", data.c_str());
        return 1;
    }

    std::vector<Row> rows;
    {
        Bitmap a(kW, kH), b(kW, kH);
        fillNoise(a, 1);
        rows.push_back(
            timeLoop("memcpy of a frame", frames, [&] { std::memcpy(b.pixels(), a.pixels(), a.pixelCount() * 4); }));
        Bitmap background(kW, kH), trail(kW, kH), frame(kW, kH);
        fillNoise(background, 2);
        fillNoise(trail, 3);
        rows.push_back(timeLoop("floor: copy + add + blur", frames, [&] {
            background.copyTo(frame);
            trail.addTo(frame);
            feedbackBlur(trail);
        }));
        rows.push_back(timeLoop("  blur, three neighbours", frames, [&] { feedbackBlur(trail); }));
        rows.push_back(
            timeLoop("  blur, three, reference", frames, [&] { blurref::threeNeighbour(trail.pixels(), kW, kH); }));
        rows.push_back(timeLoop("  blur, four neighbours", frames, [&] { feedbackBlur4(trail); }));
        rows.push_back(
            timeLoop("  blur, four, reference", frames, [&] { blurref::fourNeighbour(trail.pixels(), kW, kH); }));
        rows.push_back(timeLoop("  31 bubbles", frames, [&] {
            for (int i = 0; i < 31; ++i)
                BubbleRingLayer::drawBubble(frame, 100.0 + i * 10.3, 120.0 + i * 4.1);
        }));
        rows.push_back(timeLoop("  31 bubbles, reference", frames, [&] {
            for (int i = 0; i < 31; ++i)
                bubble::drawReference(frame, 100.0 + i * 10.3, 120.0 + i * 4.1);
        }));
        RippleGridLayer grid;
        grid.init();
        float t = 0.0f;
        grid.step(frame, t); // makes the feedback bitmap
        rows.push_back(timeLoop("  ripple grid step", frames, [&] { grid.step(frame, t += kFrameStep); }));
        rows.push_back(
            timeLoop("  ripple grid step, reference", frames, [&] { grid.stepReference(frame, t += kFrameStep); }));
    }
    for (int i = 0; i < kShowPartCount; ++i) {
        const ShowPartEntry& entry = kShowParts[i];
        // The tunnel draws 630 sprites a frame: it has twice the time.
        const double targetMs = std::string(entry.name) == "tunnel" ? 1.0 : 0.5;
        rows.push_back(timePart("part " + std::to_string(i + 1) + ": " + entry.title, entry, frames, targetMs));
        rows.push_back(timeFeedbackStep("  its feedback step", entry, frames));
    }
    print(rows);
    std::printf("\n%d frames each, %.4f s of show time apart (one feedback step each); allocs: operator new "
                "calls and bitmaps made during the timed frames.\n",
                frames, static_cast<double>(kFrameStep));
    return 0;
}
