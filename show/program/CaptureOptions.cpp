#include "show/program/CaptureOptions.h"
#include "show/program/WholeNumber.h"

namespace zov {

namespace {

// A module has at most 256 orders.
constexpr int kMaxOrder = 255;
// Every frame gets at least a few samples of sound.
constexpr int kMaxCaptureFps = 1000;

} // namespace

bool isCaptureOption(const std::string& arg)
{
    return arg == "--capture" || arg == "--video" || arg == "--capture-fps" || arg == "--start-order";
}

std::optional<std::string> applyCaptureOption(const std::string& arg, const std::string& value, CaptureOptions& o)
{
    if (arg == "--capture" || arg == "--video") {
        if (value.empty())
            return "option '" + arg + "' needs a " + (arg == "--capture" ? "folder" : "file");
        (arg == "--capture" ? o.directory : o.video) = value;
    } else if (arg == "--capture-fps") {
        if (!parseWholeNumber(value, 1, kMaxCaptureFps, o.fps))
            return "'--capture-fps' takes a whole number from 1 to " + std::to_string(kMaxCaptureFps) + ", not '" +
                   value + "'";
    } else if (arg == "--start-order") {
        int order = 0;
        if (!parseWholeNumber(value, 0, kMaxOrder, order))
            return "'--start-order' takes a whole number from 0 to " + std::to_string(kMaxOrder) + ", not '" +
                   value + "'";
        o.startOrder = order;
    }
    return std::nullopt;
}

const char* captureUsage()
{
    return "  --start-order N         start the music at order N: the show opens on that order's part\n"
           "  --capture DIR           play headless in lockstep with the music and write every frame\n"
           "                          (DIR/frame-000000.png ...), DIR/music.wav and DIR/positions.tsv\n"
           "                          (frame, show time, part 1-4 or end, order, row); the same data\n"
           "                          give the same bytes\n"
           "  --capture-fps N         frames per second of show time in a capture (default 60)\n"
           "  --video FILE            encode the capture (with or without --capture) as an MP4 file:\n"
           "                          H.264 and the music, through ffmpeg\n";
}

} // namespace zov
