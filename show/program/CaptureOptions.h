#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zov {

// The options of a capture and of seeking, as given.
struct CaptureOptions {
    std::string directory; // --capture DIR
    std::string video;     // --video FILE
    int fps = 60;          // --capture-fps N
    std::int32_t startOrder = 0; // --start-order N

    bool active() const { return !directory.empty() || !video.empty(); }
};

// Whether arg is one of these options; all of them take a value.
bool isCaptureOption(const std::string& arg);
// Applies one; the problem with the value, if any, as a line to print.
std::optional<std::string> applyCaptureOption(const std::string& arg, const std::string& value, CaptureOptions& o);
// Their lines of --help.
const char* captureUsage();

} // namespace zov
