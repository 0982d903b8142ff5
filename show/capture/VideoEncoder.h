#pragma once

#include "show/capture/ChildProcess.h"
#include "show/capture/FrameRate.h"
#include "show/capture/FrameRing.h"
#include "show/capture/VideoFramePacker.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zov {

class Bitmap;

// What kind of video to make.
struct VideoSettings {
    int scale = 1;         // each pixel enlarged to scale x scale
    int crf = 18;          // libx264's quality: 0 best, 51 worst
    bool lossless = false; // RGB, every pixel and sample exact
    FrameRate rate;
};

// Makes an MP4 with ffmpeg. By default H.264 in 4:2:0 (yuv420p), tagged and
// converted (by VideoFramePacker) as BT.709 in limited range, the tags that
// players and sites read best, with the music in AAC. Lossless: H.264 in RGB
// at qp 0 (libx264rgb): no colour conversion at all, so every pixel comes
// back as drawn, in the container and codec every player and editor reads
// (but not web browsers); the music in ALAC, lossless too. FFV1 would need
// another container, and lossless 4:4:4 YUV still rounds every pixel once.
//
// The frames go to a thread of their own (FrameRing), which packs them and
// pipes them raw to a child that encodes the picture into a file beside the
// output; once the run is over a second, short run puts that and the WAV of
// the music into the output. Piping the sound as well would need two pipes
// fed in step, which can stall the two processes against each other.
// ffmpeg's messages go to OUT.log, kept on a failure.
class VideoEncoder {
public:
    VideoEncoder(std::string ffmpeg, std::string output, int width, int height, VideoSettings settings);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool start(std::string& error);
    // The frame's bytes as they are in memory (blue, green, red, unused);
    // copied, so the caller may draw the next at once.
    bool addFrame(const Bitmap& frame, std::string& error);
    // Ends the picture and muxes it with the WAV at musicPath.
    bool finish(const std::string& musicPath, std::string& error);
    // Ends a run that gave no frame: no file is made, and none is left.
    void abandon();

    // Frames per second the encoder takes them at while it has one to take
    // (packing included); 0 before the first.
    double framesPerSecond() const;
    const std::string& output() const { return output_; }

    // The arguments of the two ffmpeg runs, for tests.
    std::vector<std::string> encodeArguments() const;
    std::vector<std::string> muxArguments(const std::string& musicPath) const;

private:
    bool failed(const char* step, int status, std::string& error);
    bool writeFrame(const std::uint32_t* pixels);

    std::string ffmpeg_;
    std::string output_;
    std::string pictureOnly_;
    std::string log_;
    int width_;
    int height_;
    VideoSettings settings_;
    VideoFramePacker packer_;
    std::vector<std::uint8_t> packed_; // the ring's thread's alone
    ChildProcess encoder_;
    std::unique_ptr<FrameRing> ring_;
};

} // namespace zov
