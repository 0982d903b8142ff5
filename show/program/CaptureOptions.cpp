#include "show/program/CaptureOptions.h"
#include "show/ShowTable.h"
#include "show/program/WholeNumber.h"

namespace zov {

namespace {

// A module has at most 256 orders.
constexpr int kMaxOrder = 255;
// Every frame gets at least a few samples of sound.
constexpr int kMaxCaptureFps = 1000;
// 4x makes 2048x1536, more than any screen the video is watched on needs.
constexpr int kMaxVideoScale = 4;
// libx264's range for 8-bit video.
constexpr int kMaxCrf = 51;

} // namespace

bool isCaptureOption(const std::string& arg)
{
    return captureOptionTakesValue(arg) || arg == "--overwrite" || arg == "--video-lossless";
}

bool captureOptionTakesValue(const std::string& arg)
{
    return arg == "--capture" || arg == "--video" || arg == "--capture-fps" || arg == "--start-order" ||
           arg == "--video-scale" || arg == "--video-crf" || arg == "--from" || arg == "--to";
}

std::optional<std::string> applyCaptureOption(const std::string& arg, const std::string& value, CaptureOptions& o)
{
    if (arg == "--capture" || arg == "--video") {
        if (value.empty())
            return "option '" + arg + "' needs a " + (arg == "--capture" ? "folder" : "file");
        (arg == "--capture" ? o.directory : o.video) = value;
    } else if (arg == "--capture-fps") {
        const std::optional<FrameRate> rate = FrameRate::parse(value, 1, kMaxCaptureFps);
        if (!rate)
            return "'--capture-fps' takes frames per second from 1 to " + std::to_string(kMaxCaptureFps) +
                   ", whole or a fraction such as 60000/1001, not '" + value + "'";
        o.fps = *rate;
        o.fpsGiven = true;
    } else if (arg == "--start-order") {
        int order = 0;
        if (!parseWholeNumber(value, 0, kMaxOrder, order))
            return "'--start-order' takes a whole number from 0 to " + std::to_string(kMaxOrder) + ", not '" +
                   value + "'";
        o.startOrder = order;
        o.startOrderGiven = true;
    } else if (arg == "--from" || arg == "--to") {
        const std::optional<ShowPoint> point = ShowPoint::parse(value, kShowPartCount);
        if (!point)
            return "'" + arg + "' takes seconds of show time (such as 38.5) or part:N with N from 1 to " +
                   std::to_string(kShowPartCount) + ", not '" + value + "'";
        (arg == "--from" ? o.from : o.to) = *point;
    } else if (arg == "--video-scale") {
        if (!parseWholeNumber(value, 1, kMaxVideoScale, o.videoScale))
            return "'--video-scale' takes a whole number from 1 to " + std::to_string(kMaxVideoScale) + ", not '" +
                   value + "'";
        o.scaleGiven = true;
    } else if (arg == "--video-crf") {
        if (!parseWholeNumber(value, 0, kMaxCrf, o.videoCrf))
            return "'--video-crf' takes a whole number from 0 to " + std::to_string(kMaxCrf) + ", not '" + value +
                   "'";
        o.crfGiven = true;
    } else if (arg == "--overwrite") {
        o.overwrite = true;
    } else if (arg == "--video-lossless") {
        o.videoLossless = true;
    }
    return std::nullopt;
}

std::optional<std::string> checkCaptureOptions(const CaptureOptions& o)
{
    if (o.fpsGiven && !o.active())
        return "'--capture-fps' needs --capture or --video";
    if (o.overwrite && o.directory.empty())
        return "'--overwrite' needs --capture";
    const struct {
        bool given;
        const char* name;
    } videoOptions[] = {{o.scaleGiven, "--video-scale"}, {o.crfGiven, "--video-crf"},
                        {o.videoLossless, "--video-lossless"}};
    for (const auto& option : videoOptions)
        if (option.given && o.video.empty())
            return std::string("'").append(option.name).append("' needs --video");
    for (const auto& [point, name] : {std::pair{&o.from, "--from"}, std::pair{&o.to, "--to"}}) {
        if (point->given() && !o.active())
            return std::string("'").append(name).append("' needs --capture or --video");
        if (point->given() && o.startOrderGiven)
            return std::string("'").append(name).append(
                "' and '--start-order' do not go together: show times count from the show's start");
    }
    if (o.crfGiven && o.videoLossless)
        return "'--video-crf' and '--video-lossless' do not go together: a lossless video has no quality to choose";
    return std::nullopt;
}

const char* captureUsage()
{
    return "  --start-order N         start the music at order N: the show opens on that order's part\n"
           "  --capture DIR           play headless in lockstep with the music and write every frame\n"
           "                          (DIR/frame-000000.png ...), DIR/music.wav and DIR/positions.tsv\n"
           "                          (frame, show time, part 1-4 or end, order, row); the same data\n"
           "                          give the same bytes. A DIR holding such files is refused\n"
           "  --overwrite             let --capture replace the frames, music.wav and positions.tsv\n"
           "                          of an earlier capture in DIR; nothing else there is touched\n"
           "  --capture-fps N         frames per second of show time in a capture or video (default\n"
           "                          60), whole or a fraction such as 60000/1001 (59.94)\n"
           "  --from T, --to T        capture only the show from T to T (not included), each\n"
           "                          seconds of show time (38.5) or part:N, where part N begins\n"
           "                          (--from) or ends (--to); frame 0 is then the show's frame at\n"
           "                          --from, the same pixels as in a whole capture\n"
           "  --video FILE            encode the capture (with or without --capture) as an MP4 file\n"
           "                          through ffmpeg: H.264 (libx264, preset veryfast) in 4:2:0\n"
           "                          (yuv420p), BT.709 colour in limited range, the music in AAC\n"
           "  --video-scale N         enlarge each pixel to NxN (1 to 4) before encoding; at 2 or 3\n"
           "                          every pixel keeps its own colour through 4:2:0\n"
           "  --video-crf N           the video's quality, 0 (best) to 51 (default 18)\n"
           "  --video-lossless        every pixel and sample as drawn: lossless H.264 in RGB\n"
           "                          (libx264rgb) and the music in ALAC; large, and not for web\n"
           "                          browsers\n";
}

} // namespace zov
