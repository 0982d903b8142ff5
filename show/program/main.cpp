// The entry of demoplay and demoplayfs: reads the options, finds data/,
// builds the display, the clock and the music player and runs the show.
#include "platform/AudioMusicPlayer.h"
#include "platform/Clock.h"
#include "platform/FpsDisplay.h"
#include "platform/HeadlessDisplay.h"
#include "platform/ProcessFigures.h"
#include "platform/Sleeper.h"
#include "platform/WrappedDisplay.h"
#include "platform/sdl/FileSources.h"
#include "platform/sdl/SdlAudioLayer.h"
#include "platform/sdl/SdlDisplay.h"
#include "show/capture/CaptureRun.h"
#include "show/capture/ShowLength.h"
#include "show/live/LivePlay.h"
#include "show/program/DataSearch.h"
#include "show/program/ProgramDisplay.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

zov::CaptureRequest captureRequest(const zov::ProgramOptions& options, const std::filesystem::path& here)
{
    zov::CaptureRequest request;
    if (!options.capture.directory.empty())
        request.directory = (here / options.capture.directory).lexically_normal().string();
    if (!options.capture.video.empty())
        request.video = (here / options.capture.video).lexically_normal().string();
    request.rate = options.capture.fps;
    request.overwrite = options.capture.overwrite;
    request.videoScale = options.capture.videoScale;
    request.videoCrf = options.capture.videoCrf;
    request.videoLossless = options.capture.videoLossless;
    request.frameLimit = options.frames;
    request.startOrder = options.capture.startOrder;
    request.from = options.capture.from;
    request.to = options.capture.to;
    return request;
}

// A display whose keys the show does not read: the show runs by its music
// alone and its end picture stays three seconds by the show clock, as
// headless, so that the next play can begin.
class KeysOnlyInTheParts final : public zov::WrappedDisplay {
public:
    using WrappedDisplay::WrappedDisplay;
    bool hasKeyboard() const override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    using namespace zov;
    // Progress lines are read by people and scripts as they come.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc), kProgramName);
    if (parsed.action == ParsedOptions::Action::Exit) {
        std::fputs(parsed.message.c_str(), parsed.exitStatus == 0 ? stdout : stderr);
        return parsed.exitStatus;
    }
    const ProgramOptions& options = parsed.options;

    namespace fs = std::filesystem;
    std::error_code ec;
    // Named from where the program started, before it moves to data/.
    const CaptureRequest capture = captureRequest(options, fs::current_path(ec));
    const fs::path programDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    const auto root = findDataRoot(options.dataDir, fs::current_path(ec), programDir);
    if (!root) {
        std::fputs(missingDataMessage(kProgramName, options.dataDir, fs::current_path(ec), programDir).c_str(), stderr);
        return 1;
    }
    // The show names its files "data/...".
    fs::current_path(*root, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot change to %s: %s\n", kProgramName, root->c_str(), ec.message().c_str());
        return 1;
    }

    if (const std::string problem = checkStartOrder(options.capture.startOrder); !problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", kProgramName, problem.c_str());
        return 2;
    }
    if (options.capture.active())
        return runCapture(capture, kProgramName);
    if (!options.headless) {
        std::string reason;
        if (!probeGraphicalDisplay(reason)) {
            std::fprintf(stderr, "%s: no graphical display (%s): set DISPLAY, or play with --headless\n",
                         kProgramName, reason.c_str());
            return 1;
        }
    }

    MonotonicClock clock;
    std::unique_ptr<DisplayDriver> display;
    if (options.headless)
        display = std::make_unique<HeadlessDisplay>();
    else
        display = createDisplay(options);
    if (options.fps)
        display = std::make_unique<FpsDisplay>(std::move(display), clock);

    FileSourceOpener opener;
    SdlAudioOptions audioOptions;
    audioOptions.mute = options.mute;
    audioOptions.extraLatencyMs = options.audioLatencyMs;
    SdlAudioLayer audio(opener, clock, audioOptions);
    AudioMusicPlayer music(audio);
    LiveOptions live;
    live.startOrder = options.capture.startOrder;
    if (options.startMillis)
        live.startTime = ShowTime::ofMilliseconds(*options.startMillis);
    live.study = options.study;
    live.paced = options.vsync;
    live.frameLimit = options.frames;
    MonotonicSleeper sleeper;
    int status = 0;
    for (int pass = 1; pass <= options.repeat && status == 0; ++pass) {
        // Played over: each end picture but the last goes by the clock.
        KeysOnlyInTheParts passing(*display);
        status = playLive(pass < options.repeat ? passing : *display, music, &opener, clock, sleeper, live);
        if (options.repeat > 1) {
            std::fflush(stdout);
            std::fprintf(stderr, "pass %d: %s\n", pass, describe(readProcessFigures()).c_str());
        }
    }
    return status;
}
