#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zov {

struct ProgramOptions {
    bool headless = false;
    std::string dataDir; // empty: look in the working directory, then beside the program
    int scale = 1;
    bool vsync = false;
    bool mute = false;
    int audioLatencyMs = 0;
    bool fps = false;
};

struct ParsedOptions {
    enum class Action { Run, Exit };
    Action action = Action::Run;
    int exitStatus = 0;  // when action is Exit
    std::string message; // printed before exiting: to stdout on success, else stderr
    ProgramOptions options;
};

ParsedOptions parseOptions(const std::vector<std::string>& args, const std::string& programName);

// The folder that holds data/: the --data folder (itself data/, or holding
// it), else the working directory, else the program's folder.
std::optional<std::filesystem::path> findDataRoot(const std::string& dataOption,
                                                  const std::filesystem::path& workingDirectory,
                                                  const std::filesystem::path& programDirectory);

} // namespace zov
