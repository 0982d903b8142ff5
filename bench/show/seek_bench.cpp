// How long study mode takes to go to a show time: the worst and the median
// of 100 seeks spread over the whole show, visited out of order (forward
// and back), each timed to its first frame drawn, with the sound worked out
// (a running study) and held (a paused one). Also the one-off work study
// mode does ahead: the music's course, and the parts' carried state kept
// every second (which the study does in spare time). One thread, the
// offline audio layer.
//
//   seek_bench [data folder]     (default: the build's bin/)
#include "image/ReleaseLines.h"
#include "platform/AudioMusicPlayer.h"
#include "platform/Clock.h"
#include "platform/HeadlessDisplay.h"
#include "platform/MusicPlayer.h"
#include "platform/OfflineAudioLayer.h"
#include "platform/SteerableClock.h"
#include "platform/sdl/FileSources.h"
#include "show/ShowSchedule.h"
#include "show/ShowSession.h"
#include "show/ShowTable.h"
#include "show/live/ClockLedMusic.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zov {
namespace {

constexpr int kRate = 44100;
constexpr int kSeeks = 100;
constexpr std::int64_t kFps = 60;
constexpr int kCheckpointSteps = 60; // as study mode keeps them

double millisSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Summary {
    double median;
    double worst;
    std::int64_t worstFrame;
};

int run()
{
    const QuietReleases quiet; // the show's teardown comes after the table
    ManualClock clock(1'000'000'000);
    SteerableClock showClock(clock);
    FileSourceOpener opener;
    OfflineAudioLayer audio(opener);
    AudioMusicPlayer sound(audio);
    ClockLedMusic music(sound, showClock);
    HeadlessDisplay display;
    ShowOptions options;
    options.musicRate = kRate;
    options.feedbackCheckpointSteps = kCheckpointSteps;
    options.musicSource = [&opener]() { return std::move(opener.openModule(kShowMusicFile, kRate).source); };

    // The show's own lines are not the bench's.
    std::fflush(stdout);
    const int savedStdout = dup(1);
    const int quietOut = open("/dev/null", O_WRONLY);
    dup2(quietOut, 1);
    close(quietOut);
    ShowSession show(display, music, showClock, options);
    if (show.begin() != 0)
        return 1;
    const auto scheduleStart = std::chrono::steady_clock::now();
    const ShowSchedule* schedule = show.schedule();
    const double scheduleMs = millisSince(scheduleStart);
    if (schedule == nullptr)
        return 1;
    music.follow(*show.musicTimeline(), kRate);
    const auto aheadStart = std::chrono::steady_clock::now();
    MonotonicClock realClock;
    while (show.workAhead(realClock, realClock.ticks() + 1'000'000'000)) {
    }
    const double aheadMs = millisSince(aheadStart);
    const std::int64_t endFrame = schedule->startOf(schedule->entries().size() - 1).in(kFps) + kFps;

    auto measure = [&](bool held) {
        std::vector<double> times;
        Summary summary{0, 0, 0};
        music.steer(held, 1, {0, 1});
        for (int i = 0; i < kSeeks; ++i) {
            const std::int64_t frame = endFrame * ((i * 37) % kSeeks) / kSeeks;
            const auto start = std::chrono::steady_clock::now();
            show.seek({frame, kFps});
            showClock.set(frame * showClock.ticksPerSecond() / kFps);
            show.frame();
            const double ms = millisSince(start);
            times.push_back(ms);
            if (ms > summary.worst) {
                summary.worst = ms;
                summary.worstFrame = frame;
            }
        }
        std::sort(times.begin(), times.end());
        summary.median = times[times.size() / 2];
        return summary;
    };
    const Summary running = measure(false);
    const Summary held = measure(true);
    std::fflush(stdout);
    dup2(savedStdout, 1);
    close(savedStdout);

    std::printf("music's course worked out once: %.1f ms\n", scheduleMs);
    std::printf("parts' carried state worked out ahead once: %.1f ms\n", aheadMs);
    std::printf("%-28s %10s %10s %14s\n", "seek to the first frame", "median ms", "worst ms", "worst at (s)");
    std::printf("%-28s %10.1f %10.1f %14.2f\n", "running (sound worked out)", running.median, running.worst,
                 static_cast<double>(running.worstFrame) / kFps);
    std::printf("%-28s %10.1f %10.1f %14.2f\n", "held (sound held)", held.median, held.worst,
                 static_cast<double>(held.worstFrame) / kFps);
    return 0;
}

} // namespace
} // namespace zov

int main(int argc, char** argv)
{
    const std::filesystem::path root = argc > 1 ? argv[1] : ZOV_OUTPUT_DIR;
    std::error_code ec;
    std::filesystem::current_path(root, ec);
    if (ec) {
        std::fprintf(stderr, "seek_bench: cannot change to %s: %s\n", root.c_str(), ec.message().c_str());
        return 1;
    }
    return zov::run();
}
