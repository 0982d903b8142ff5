#pragma once

#include "show/program/CaptureOptions.h"
#include "show/program/DataSearch.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zov {

struct ProgramOptions {
    bool headless = false;
    std::string dataDir; // empty: look in the folders of dataSearchFolders()
    int scale = 1;
    bool vsync = true; // paced by the screen's refresh, or else 60 frames a second
    bool mute = false;
    int audioLatencyMs = 0;
    bool fps = false;
    int frames = 0; // stop after this many presented frames; 0: run to the end
    int repeat = 1; // plays of the show in this one process
    std::optional<std::int64_t> startMillis; // --start-time, in milliseconds of show time
    bool study = false;
    CaptureOptions capture;
};

struct ParsedOptions {
    enum class Action { Run, Exit };
    Action action = Action::Run;
    int exitStatus = 0;  // when action is Exit
    std::string message; // printed before exiting: to stdout on success, else stderr
    ProgramOptions options;
};

ParsedOptions parseOptions(const std::vector<std::string>& args, const std::string& programName);

} // namespace zov
