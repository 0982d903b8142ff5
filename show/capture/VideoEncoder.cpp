#include "show/capture/VideoEncoder.h"

#include "image/Bitmap.h"

#include <cstdio>
#include <utility>

namespace zov {

namespace {

// Frames drawn ahead of the encoder before drawing waits: enough to ride
// out the encoder's uneven pace, few enough to stay small (768 kB each).
constexpr std::size_t kRingFrames = 4;

// The same tags on both kinds: BT.709 primaries and transfer; the matrix
// and range of the pixels' own kind.
void addColourTags(std::vector<std::string>& args, bool rgb)
{
    args.insert(args.end(), {"-color_primaries", "bt709", "-color_trc", "bt709", "-colorspace", rgb ? "rgb" : "bt709",
                             "-color_range", rgb ? "pc" : "tv"});
}

} // namespace

VideoEncoder::VideoEncoder(std::string ffmpeg, std::string output, int width, int height, VideoSettings settings)
    : ffmpeg_(std::move(ffmpeg)), output_(std::move(output)), pictureOnly_(output_ + ".picture.mp4"),
      log_(output_ + ".log"), width_(width), height_(height), settings_(settings),
      packer_(width, height, settings.scale,
              settings.lossless ? VideoFramePacker::Pixels::Bgr0 : VideoFramePacker::Pixels::Yuv420),
      packed_(packer_.packedBytes())
{
}

VideoEncoder::~VideoEncoder()
{
    ring_.reset();
    std::remove(pictureOnly_.c_str());
}

bool VideoEncoder::failed(const char* step, int status, std::string& error)
{
    error = "ffmpeg failed " + std::string(step) + " " + output_ + " (status " + std::to_string(status) +
            "); its messages are in " + log_;
    return false;
}

std::vector<std::string> VideoEncoder::encodeArguments() const
{
    const std::string size = std::to_string(packer_.outputWidth()) + "x" + std::to_string(packer_.outputHeight());
    std::vector<std::string> args = {ffmpeg_, "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo"};
    args.insert(args.end(), {"-pix_fmt", settings_.lossless ? "bgr0" : "yuv420p", "-video_size", size});
    args.insert(args.end(), {"-framerate", settings_.rate.text(), "-i", "pipe:0"});
    if (settings_.lossless)
        args.insert(args.end(), {"-c:v", "libx264rgb", "-preset", "veryfast", "-qp", "0"});
    else
        args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", std::to_string(settings_.crf)});
    addColourTags(args, settings_.lossless);
    // bitexact: no encoder versions or dates in the file, so that the same
    // frames give the same bytes.
    args.insert(args.end(), {"-fflags", "+bitexact", "-f", "mp4", pictureOnly_});
    return args;
}

std::vector<std::string> VideoEncoder::muxArguments(const std::string& musicPath) const
{
    std::vector<std::string> args = {ffmpeg_, "-hide_banner", "-loglevel", "error", "-y"};
    args.insert(args.end(), {"-i", pictureOnly_, "-i", musicPath, "-map", "0:v", "-map", "1:a", "-c:v", "copy"});
    if (settings_.lossless)
        args.insert(args.end(), {"-c:a", "alac"});
    else
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
    args.insert(args.end(), {"-fflags", "+bitexact", "-movflags", "+faststart", "-f", "mp4", output_});
    return args;
}

bool VideoEncoder::start(std::string& error)
{
    std::remove(log_.c_str());
    if (!encoder_.start(encodeArguments(), true, log_, error))
        return false;
    ring_ = std::make_unique<FrameRing>(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                                        kRingFrames, [this](const std::uint32_t* pixels) { return writeFrame(pixels); });
    return true;
}

bool VideoEncoder::writeFrame(const std::uint32_t* pixels)
{
    packer_.pack(pixels, packed_.data());
    return encoder_.write(packed_.data(), packed_.size());
}

bool VideoEncoder::addFrame(const Bitmap& frame, std::string& error)
{
    if (ring_->push(frame.pixels()))
        return true;
    ring_->finish();
    return failed("while encoding", encoder_.finish(), error);
}

double VideoEncoder::framesPerSecond() const
{
    const double busy = ring_ ? ring_->busySeconds() : 0.0;
    return busy > 0.0 ? static_cast<double>(ring_->framesConsumed()) / busy : 0.0;
}

bool VideoEncoder::finish(const std::string& musicPath, std::string& error)
{
    const bool written = ring_ && ring_->finish();
    if (const int status = encoder_.finish(); !written || status != 0)
        return failed(written ? "encoding the picture of" : "while encoding", status, error);
    ChildProcess mux;
    if (!mux.start(muxArguments(musicPath), false, log_, error))
        return false;
    if (const int status = mux.finish(); status != 0)
        return failed("putting the music into", status, error);
    std::remove(pictureOnly_.c_str());
    std::remove(log_.c_str());
    return true;
}

void VideoEncoder::abandon()
{
    ring_.reset();
    encoder_.finish();
    std::remove(pictureOnly_.c_str());
    std::remove(log_.c_str());
}

} // namespace zov
