#include "show/capture/VideoEncoder.h"

#include "image/Bitmap.h"

#include <cstdio>
#include <vector>

namespace zov {

VideoEncoder::VideoEncoder(std::string ffmpeg, std::string output, int width, int height, int fps)
    : ffmpeg_(std::move(ffmpeg)), output_(std::move(output)), pictureOnly_(output_ + ".picture.mp4"),
      log_(output_ + ".log"), width_(width), height_(height), fps_(fps)
{
}

VideoEncoder::~VideoEncoder()
{
    std::remove(pictureOnly_.c_str());
}

bool VideoEncoder::failed(const char* step, int status, std::string& error)
{
    error = "ffmpeg failed " + std::string(step) + " " + output_ + " (status " + std::to_string(status) +
            "); its messages are in " + log_;
    return false;
}

bool VideoEncoder::start(std::string& error)
{
    std::remove(log_.c_str());
    const std::string size = std::to_string(width_) + "x" + std::to_string(height_);
    // bitexact: no encoder versions or dates in the file, so that the same
    // frames give the same bytes.
    const std::vector<std::string> args = {
        ffmpeg_,   "-hide_banner", "-loglevel", "error",        "-y",          "-f",
        "rawvideo", "-pix_fmt",    "bgr0",      "-video_size",  size,          "-framerate",
        std::to_string(fps_), "-i", "pipe:0",   "-c:v",         "libx264",     "-preset",
        "veryfast", "-crf",        "18",        "-pix_fmt",     "yuv420p",     "-fflags",
        "+bitexact", "-f",         "mp4",       pictureOnly_};
    return encoder_.start(args, true, log_, error);
}

bool VideoEncoder::addFrame(const Bitmap& frame, std::string& error)
{
    if (encoder_.write(frame.pixels(), frame.pixelCount() * 4))
        return true;
    return failed("while encoding", encoder_.finish(), error);
}

bool VideoEncoder::finish(const std::string& musicPath, std::string& error)
{
    if (const int status = encoder_.finish(); status != 0)
        return failed("encoding the picture of", status, error);
    ChildProcess mux;
    const std::vector<std::string> args = {ffmpeg_,    "-hide_banner", "-loglevel", "error",     "-y",
                                           "-i",       pictureOnly_,   "-i",        musicPath,   "-map",
                                           "0:v",      "-map",         "1:a",       "-c:v",      "copy",
                                           "-c:a",     "aac",          "-b:a",      "192k",      "-fflags",
                                           "+bitexact", "-movflags",   "+faststart", "-f",       "mp4",
                                           output_};
    if (!mux.start(args, false, log_, error))
        return false;
    if (const int status = mux.finish(); status != 0)
        return failed("putting the music into", status, error);
    std::remove(pictureOnly_.c_str());
    std::remove(log_.c_str());
    return true;
}

} // namespace zov
