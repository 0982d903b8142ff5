#pragma once

#include "show/capture/ChildProcess.h"

#include <string>

namespace zov {

class Bitmap;

// Makes an MP4 (H.264, yuv420p, the capture's frame rate, AAC sound) with
// ffmpeg: the frames are piped raw to a child that encodes the picture into
// a file beside the output, and once the run is over a second, short run
// puts that and the WAV of the music into the output. Piping the sound as
// well would need two pipes fed in step, which can stall the two processes
// against each other. ffmpeg's messages go to OUT.log, kept on a failure.
class VideoEncoder {
public:
    VideoEncoder(std::string ffmpeg, std::string output, int width, int height, int fps);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool start(std::string& error);
    // The frame's bytes as they are in memory (blue, green, red, unused).
    bool addFrame(const Bitmap& frame, std::string& error);
    // Ends the picture and muxes it with the WAV at musicPath.
    bool finish(const std::string& musicPath, std::string& error);

    const std::string& output() const { return output_; }

private:
    bool failed(const char* step, int status, std::string& error);

    std::string ffmpeg_;
    std::string output_;
    std::string pictureOnly_;
    std::string log_;
    int width_;
    int height_;
    int fps_;
    ChildProcess encoder_;
};

} // namespace zov
