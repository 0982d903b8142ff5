// demobench: the show as a timedemo. Runs it headless as fast as it can and
// prints how long each part takes to draw, the whole show's frame rate, the
// start-up time and the peak memory.
#include "image/OutputFile.h"
#include "platform/Clock.h"
#include "platform/ProcessFigures.h"
#include "show/capture/LockstepShow.h"
#include "show/program/DataSearch.h"
#include "show/timedemo/Timedemo.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <sys/resource.h>

namespace {

constexpr const char* kUsage =
    "Usage: demobench [options]\n"
    "Runs the ZOV demo headless as a timedemo: the show in step with its music at 60\n"
    "frames of show time a second, drawn as fast as the machine can. Prints for each part\n"
    "the frames drawn, the median, 99th percentile and worst milliseconds a frame and the\n"
    "frames per second; then the whole show's frames per second, the start-up time (from\n"
    "the program's start to the first frame, all loading included) and the peak resident\n"
    "memory.\n"
    "\n"
    "  --frames N     at most N frames of each part (a part then ends as by a key)\n"
    "  --repeat N     play the show N times over in this one process, with a line after\n"
    "                 each pass on the memory, files and threads it holds; the figures\n"
    "                 are of the last pass\n"
    "  --json FILE    also write the figures to FILE as JSON\n"
    "  --data DIR     the folder holding data/ (or data/ itself); by default the working\n"
    "                 directory, then the program's folder, then ../share/zov from it\n"
    "  --help         print this and exit\n"
    "  --version      print the version and exit\n";

// One pass of the show; startTicks is the program's start on clock.
zov::TimedemoReport runTimedemo(int framesPerPart, const zov::Clock& clock, std::int64_t startTicks)
{
    zov::TimedemoReport report;
    {
        zov::LockstepShow show(zov::kTimedemoFps);
        zov::TimedemoRun run(show, framesPerPart, clock);
        if (run.begin())
            while (run.step()) {
            }
        report = run.finish(startTicks);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report.peakResidentKb = usage.ru_maxrss;
    return report;
}

int usageError(const std::string& problem)
{
    std::fprintf(stderr, "demobench: %s\nTry 'demobench --help'.\n", problem.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zov;
    MonotonicClock clock;
    const std::int64_t started = clock.ticks();

    int frames = 0;
    int repeat = 1;
    std::string json, data;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::puts("demobench " ZOV_VERSION);
            return 0;
        }
        if (arg != "--frames" && arg != "--repeat" && arg != "--json" && arg != "--data")
            return usageError("unknown option '" + arg + "'");
        if (i + 1 >= argc || argv[i + 1][0] == '\0')
            return usageError("option '" + arg + "' needs a value");
        const std::string value = argv[++i];
        if (arg == "--frames" || arg == "--repeat") {
            int& number = arg == "--frames" ? frames : repeat;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (error != std::errc() || end != value.data() + value.size() || number < 1)
                return usageError("'" + arg + "' takes a whole number of 1 or more, not '" + value + "'");
        } else {
            (arg == "--json" ? json : data) = value;
        }
    }

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (!json.empty()) {
        json = (here / json).string();
        // Before the run, not after it.
        std::string error;
        if (!checkOutputFile(json, error)) {
            std::fprintf(stderr, "demobench: %s\n", error.c_str());
            return 1;
        }
    }
    const fs::path programDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    const auto root = findDataRoot(data, here, programDir);
    if (!root) {
        std::fputs(missingDataMessage("demobench", data, here, programDir).c_str(), stderr);
        return 1;
    }
    fs::current_path(*root, ec);
    if (ec) {
        std::fprintf(stderr, "demobench: cannot change to %s: %s\n", root->c_str(), ec.message().c_str());
        return 1;
    }

    TimedemoReport report;
    for (int pass = 1; pass <= repeat; ++pass) {
        report = runTimedemo(frames, clock, pass == 1 ? started : clock.ticks());
        if (repeat > 1) {
            std::fflush(stdout);
            std::fprintf(stderr, "pass %d: %s\n", pass, describe(readProcessFigures()).c_str());
        }
        if (report.status != 0)
            break;
    }
    std::fflush(stdout);
    const std::string table = timedemoTable(report);
    std::printf("\n%s", table.c_str());
    if (!json.empty()) {
        errno = 0;
        std::ofstream out(json, std::ios::binary);
        out << timedemoJson(report);
        out.close();
        if (!out) {
            std::fprintf(stderr, "demobench: cannot write %s: %s\n", json.c_str(),
                         errno != 0 ? std::strerror(errno) : "not all of it reached the file");
            return 1;
        }
    }
    return report.status;
}
