#pragma once

#include "show/capture/FrameRate.h"
#include "show/capture/ShowPoint.h"

#include <cstdint>
#include <string>

namespace zov {

// What a capture makes: frame pictures, music and positions in a folder,
// and/or a video file.
struct CaptureRequest {
    std::string directory; // empty: no folder
    std::string video;     // empty: no video
    FrameRate rate = 60;
    std::int64_t frameLimit = 0; // 0: to the show's end
    std::int32_t startOrder = 0;
    bool overwrite = false; // the folder may hold an earlier capture, whose files go
    int videoScale = 1;
    int videoCrf = 18;
    bool videoLossless = false;
    ShowPoint from; // none: the show's start
    ShowPoint to;   // none: the show's end
};

// Plays the show headless in lockstep and writes what the request asks for;
// the working directory holds data/. Lines on standard error say what
// failed. Returns the exit status: 0 when all was written, 1 when anything
// could not be (a full disk stops the run at once) or the folder holds an
// earlier capture that may not be replaced, 128 + the signal when SIGINT or
// SIGTERM stopped it, or the show's own status. A run cut short, by a
// failure or a signal, leaves its files whole for the frames made before.
int runCapture(const CaptureRequest& request, const char* program);

} // namespace zov
