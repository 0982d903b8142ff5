#pragma once

#include "show/capture/FrameRate.h"
#include "show/capture/ShowPoint.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zov {

// The options of a capture and of seeking, as given.
struct CaptureOptions {
    static constexpr int kDefaultCrf = 18;

    std::string directory;       // --capture DIR
    std::string video;           // --video FILE
    FrameRate fps = 60;          // --capture-fps N or N/M
    std::int32_t startOrder = 0; // --start-order N
    bool overwrite = false;      // --overwrite
    int videoScale = 1;          // --video-scale N
    int videoCrf = kDefaultCrf;  // --video-crf N
    bool videoLossless = false;  // --video-lossless
    ShowPoint from;              // --from T or part:N
    ShowPoint to;                // --to T or part:N
    // Which of the options that need another were given.
    bool fpsGiven = false;
    bool scaleGiven = false;
    bool crfGiven = false;
    bool startOrderGiven = false;

    bool active() const { return !directory.empty() || !video.empty(); }
};

// Whether arg is one of these options, and whether it takes a value.
bool isCaptureOption(const std::string& arg);
bool captureOptionTakesValue(const std::string& arg);
// Applies one; the problem with the value, if any, as a line to print.
std::optional<std::string> applyCaptureOption(const std::string& arg, const std::string& value, CaptureOptions& o);
// Once all are read: an option given without the one it needs, or with one
// it cannot go with, as a line to print.
std::optional<std::string> checkCaptureOptions(const CaptureOptions& o);
// Their lines of --help.
const char* captureUsage();

} // namespace zov
