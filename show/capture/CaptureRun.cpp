#include "show/capture/CaptureRun.h"

#include "image/OutputFile.h"
#include "image/PngFrameEncoder.h"
#include "platform/Clock.h"
#include "platform/StopSignals.h"
#include "runtime/ShowConstants.h"
#include "show/capture/CaptureFiles.h"
#include "show/capture/LockstepShow.h"
#include "show/capture/ProgressLine.h"
#include "show/capture/ShowLength.h"
#include "show/capture/VideoEncoder.h"
#include "show/capture/WavWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include <unistd.h>

namespace zov {

namespace {

namespace fs = std::filesystem;

// Everything a capture writes, frame by frame. A frame is kept once all of
// it is written; one that fails part way is taken back out of the folder
// (its picture removed, its line and samples cut off by the writers'
// finish at the marks kept here).
class CaptureSink final : public LockstepSink {
public:
    struct Kept {
        std::int64_t frames = 0;
        std::int64_t wavFrames = 0;
        std::int64_t positionBytes = 0;
    };

    CaptureSink(const CaptureRequest& request, ProgressLine& progress, WavWriter* wav, PositionLog* positions,
                VideoEncoder* video)
        : request_(request), progress_(progress), wav_(wav), positions_(positions), video_(video),
          names_(request.directory), png_(kScreenWidth, kScreenHeight)
    {
        kept_.positionBytes = positions ? positions->bytesWritten() : 0;
    }

    bool frame(const Bitmap& picture, const FrameFacts& facts, const float* leftRight,
               std::size_t sampleFrames) override
    {
        if (positions_) {
            const std::span<const std::uint8_t> file = png_.encode(picture);
            const char* name = names_.name(facts.index);
            if (file.empty()) {
                error = std::string("cannot encode ") + name;
                return false;
            }
            if (!writeThenName(name, file, error))
                return false;
            if (!positions_->add(facts, error) || !wav_->write(leftRight, sampleFrames, error)) {
                ::unlink(name);
                return false;
            }
        } else if (!wav_->write(leftRight, sampleFrames, error)) {
            return false;
        }
        // The folder's files hold the frame whatever becomes of the video.
        kept_ = {kept_.frames + 1, wav_->framesWritten(), positions_ ? positions_->bytesWritten() : 0};
        if (video_) {
            if (!video_->addFrame(picture, error))
                return false;
            progress_.setEncoderFps(video_->framesPerSecond());
        }
        progress_.update(facts.index, facts.part, static_cast<double>(facts.showMicros) * 1e-6);
        return request_.frameLimit <= 0 || facts.index + 1 < request_.frameLimit;
    }

    const Kept& kept() const { return kept_; }
    std::string error;

private:
    const CaptureRequest& request_;
    ProgressLine& progress_;
    WavWriter* wav_;
    PositionLog* positions_;
    VideoEncoder* video_;
    FrameNames names_;
    PngFrameEncoder png_;
    Kept kept_;
};

int fail(const char* program, const std::string& problem)
{
    std::fprintf(stderr, "%s: %s\n", program, problem.c_str());
    return 1;
}

// Refuses a folder holding an earlier capture, whose frames past the new
// one's end would be left to mix with it, unless they may go: then they do.
bool clearEarlierCapture(const CaptureRequest& request, std::string& error)
{
    std::vector<std::string> earlier;
    if (!findCaptureFiles(request.directory, earlier, error))
        return false;
    if (earlier.empty())
        return true;
    if (!request.overwrite) {
        error = request.directory +
                " already holds a capture: --overwrite replaces its frames, music.wav and positions.tsv";
        return false;
    }
    for (const std::string& path : earlier)
        if (std::remove(path.c_str()) != 0) {
            error = "cannot remove " + path + ": " + std::strerror(errno);
            return false;
        }
    return true;
}

// The files a capture writes, open while it runs.
struct CaptureOutputs {
    explicit CaptureOutputs(const CaptureRequest& request)
        : musicPath(request.directory.empty() ? request.video + ".music.wav" : request.directory + "/music.wav"),
          musicIsTemporary(request.directory.empty()),
          wav(static_cast<std::size_t>(LockstepShow::samplesBefore(1, request.rate) + 1))
    {
    }
    ~CaptureOutputs()
    {
        if (musicIsTemporary)
            std::remove(musicPath.c_str());
    }

    std::string folder; // empty: none (yet)
    // Without a folder the music still needs a file for the video's sound,
    // which goes whatever happens.
    std::string musicPath;
    bool musicIsTemporary;
    PositionLog positions; // open with a folder
    WavWriter wav;
    std::unique_ptr<VideoEncoder> video;
};

bool openOutputs(const CaptureRequest& request, const std::optional<std::string>& ffmpeg, CaptureOutputs& out,
                 std::string& error)
{
    if (!request.directory.empty()) {
        if (!clearEarlierCapture(request, error))
            return false;
        std::error_code ec;
        fs::create_directories(request.directory, ec);
        if (ec) {
            error = "cannot make " + request.directory + ": " + ec.message();
            return false;
        }
        out.folder = request.directory;
        if (!out.positions.open(request.directory + "/positions.tsv", error))
            return false;
    }
    if (!out.wav.open(out.musicPath, LockstepShow::kSampleRate, error))
        return false;
    if (ffmpeg) {
        VideoSettings settings;
        settings.scale = request.videoScale;
        settings.crf = request.videoCrf;
        settings.lossless = request.videoLossless;
        settings.rate = request.rate;
        out.video = std::make_unique<VideoEncoder>(*ffmpeg, request.video, kScreenWidth, kScreenHeight, settings);
        if (!out.video->start(error))
            return false;
    }
    return true;
}

// Finishes what was made, to the last frame kept, whatever stopped the run;
// then says the first problem, or what a signal left. The exit status, or
// `status` when all is well.
int closeOutputs(CaptureOutputs& out, const CaptureSink& sink, const char* program, int heard, int status)
{
    const CaptureSink::Kept& kept = sink.kept();
    std::string problem = sink.error, error;
    const auto note = [&](bool done) {
        if (!done && problem.empty())
            problem = error;
    };
    note(out.wav.finish(kept.wavFrames, error));
    if (!out.folder.empty())
        note(out.positions.finish(kept.positionBytes, error));
    if (out.video && kept.frames == 0)
        out.video->abandon();
    else if (out.video)
        note(out.video->finish(out.musicPath, error));
    if (!problem.empty())
        return fail(program, problem);
    if (heard == 0)
        return status;
    std::string places = out.folder;
    if (out.video && kept.frames > 0)
        places += (places.empty() ? "" : " and ") + out.video->output();
    std::fprintf(stderr, "%s: interrupted: kept %lld frame%s%s%s\n", program, static_cast<long long>(kept.frames),
                 kept.frames == 1 ? "" : "s", places.empty() ? "" : " in ", places.c_str());
    return StopSignals::exitStatus(heard);
}

} // namespace

int runCapture(const CaptureRequest& request, const char* program)
{
    // From the start: a Ctrl-C while the show is set up keeps an empty capture.
    StopSignals signals;
    std::optional<std::string> ffmpeg;
    if (!request.video.empty()) {
        ffmpeg = findOnPath("ffmpeg");
        if (!ffmpeg)
            return fail(program, "--video needs ffmpeg, and there is none on the PATH (Debian package ffmpeg)");
    }
    std::string error;
    if (!request.video.empty() && !checkOutputFile(request.video, error))
        return fail(program, error);
    CaptureOutputs out(request);
    if (!openOutputs(request, ffmpeg, out, error))
        return fail(program, error);

    LockstepShow show(request.rate);
    const int begun = show.begin(request.startOrder);
    // A stretch of the show: where it starts and how many frames it has.
    CaptureRequest stretch = request;
    std::int64_t first = 0;
    std::int64_t total = 0;
    if (begun == 0) {
        std::string problem;
        const auto from = request.from.given() ? frameOf(show, request.from, false, problem) : 0;
        const auto to = request.to.given() ? frameOf(show, request.to, true, problem) : std::nullopt;
        if (!from || (request.to.given() && !to))
            return fail(program, problem);
        if (to && *to <= *from)
            return fail(program, "'--to' comes no later than '--from': no frame between them");
        first = *from;
        if (!show.openAt(first))
            return fail(program, "the show cannot be opened at frame " + std::to_string(first));
        total = to ? *to - first : std::max<std::int64_t>(estimateShowFrames(request.rate, request.startOrder) - first, 0);
        if (to)
            stretch.frameLimit = request.frameLimit > 0 ? std::min(request.frameLimit, total) : total;
    }
    if (stretch.frameLimit > 0)
        total = total > 0 ? std::min(total, stretch.frameLimit) : stretch.frameLimit;
    MonotonicClock wallClock;
    ProgressLine progress(stderr, ::isatty(STDERR_FILENO) != 0, wallClock, total);
    CaptureSink sink(stretch, progress, &out.wav, out.folder.empty() ? nullptr : &out.positions, out.video.get());
    // Cut short by the frame limit, a failed write or Ctrl-C, which is
    // heard between frames.
    bool stopped = begun == 0 && signals.heard() != 0;
    if (begun == 0)
        for (const LockstepFrame* frame; !stopped && (frame = show.next());)
            stopped = !sink.frame(*frame->picture, frame->facts, frame->leftRight, frame->sampleFrames) ||
                      signals.heard() != 0;
    // A run cut short has no closing line.
    const int status = stopped ? 0 : show.finish();
    progress.finish(!stopped);
    return closeOutputs(out, sink, program, signals.heard(), status);
}

} // namespace zov
