#pragma once

#include "show/program/CaptureOptions.h"
#include "show/program/DataSearch.h"

#include <string>
#include <vector>

namespace zov {

struct ProgramOptions {
    bool headless = false;
    std::string dataDir; // empty: look in the folders of dataSearchFolders()
    int scale = 1;
    bool vsync = false;
    bool mute = false;
    int audioLatencyMs = 0;
    bool fps = false;
    int frames = 0; // stop after this many presented frames; 0: run to the end
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
