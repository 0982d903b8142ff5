#include "show/program/ProgramOptions.h"
#include "show/program/WholeNumber.h"

#include <cstdint>
#include <limits>
#include <string>

namespace zov {

namespace {

constexpr int kMostRepeats = 1000;

constexpr std::int64_t kLongestStartMillis = 24LL * 3600 * 1000;

// Seconds as digits with at most three decimals, from 0 to a day, into
// milliseconds.
bool parseSeconds(const std::string& text, std::int64_t& millis)
{
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (whole.empty() || whole.size() > 6 || fraction.size() > 3 || (point != std::string::npos && fraction.empty()))
        return false;
    for (const char c : whole + fraction)
        if (c < '0' || c > '9')
            return false;
    std::int64_t value = std::stoll(whole) * 1000;
    if (!fraction.empty())
        value += std::stoll(fraction + std::string(3 - fraction.size(), '0'));
    if (value > kLongestStartMillis)
        return false;
    millis = value;
    return true;
}

ParsedOptions oneLine(const std::string& program, const std::string& problem)
{
    ParsedOptions result;
    result.action = ParsedOptions::Action::Exit;
    result.exitStatus = 2;
    result.message = program + ": " + problem + "\n";
    return result;
}

std::string usage(const std::string& program)
{
    return "Usage: " + program + " [options]\n"
           "Plays the ZOV demo: its music and the show that follows it.\n"
           "A key press skips to the next part; on the end picture it ends the program.\n"
           "\n"
           "  --headless              no window and no keyboard; the show runs by the music alone\n"
           "  --data DIR              the folder holding data/ (or data/ itself); by default the\n"
           "                          working directory, then the program's folder, then\n"
           "                          ../share/zov from the program's folder (an installed copy)\n"
           "  --scale N               window size: N times 512x384 (1 to 8, default 1)\n"
           "  --vsync                 wait for the screen's refresh when presenting (the default);\n"
           "                          where it does not, the show paces itself to 60 frames a second\n"
           "  --no-vsync              present each frame as soon as it is drawn (for timing)\n"
           "  --mute                  play without sound, keeping the music's timing\n"
           "  --audio-latency-ms N    show the picture N ms later to match a slow sound output\n"
           "  --fps                   print frames per second once a second on stderr\n"
           "  --frames N              stop after N frames (1 or more) with status 0\n"
           "  --repeat N              play the show N times over in this one process (1 to 1000);\n"
           "                          each end picture but the last stays three seconds, and a line\n"
           "                          on stderr after each play gives the memory, files and threads\n"
           "                          the process holds\n"
           "  --start-time SECONDS    open the show at this show time (to the millisecond) with the\n"
           "                          music from there; not with --start-order\n"
           "  --study                 study the show with the keys below instead of skipping parts\n" +
           std::string(captureUsage()) +
           "  --help                  print this and exit\n"
           "  --version               print the version and exit\n"
           "\n"
           "Keys with --study:\n"
           "  Space                   pause and resume\n"
           "  . and ,                 one frame (1/60 s) forward and back\n"
           "  Right and Left          one second forward and back\n"
           "  Up and Down             the next and the previous music order\n"
           "  PgDn and PgUp, ] and [  the next and the previous part\n"
           "  L                       loop the current part\n"
           "  1, 2 and 4              full, half and quarter speed (the music slowed with the show,\n"
           "                          or muted where the music library cannot)\n"
           "  O or Tab                the overlay: part, order, row, show time, frames per second\n"
           "                          and a graph of the last frame times\n"
           "  Esc or Q                quit\n";
}

ParsedOptions failure(const std::string& program, const std::string& problem)
{
    ParsedOptions result;
    result.action = ParsedOptions::Action::Exit;
    result.exitStatus = 2;
    result.message = program + ": " + problem + "\nTry '" + program + " --help'.\n";
    return result;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args, const std::string& program)
{
    ParsedOptions result;
    ProgramOptions& o = result.options;
    bool startOrderGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const bool takesValue = arg == "--data" || arg == "--scale" || arg == "--audio-latency-ms" ||
                                arg == "--frames" || arg == "--repeat" || arg == "--start-time" ||
                                captureOptionTakesValue(arg);
        if (inlineValue && !takesValue)
            return failure(program, "option '" + arg + "' takes no value");
        std::string value;
        if (takesValue) {
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return failure(program, "option '" + arg + "' needs a value");
        }
        if (arg == "--help" || arg == "-h") {
            result.action = ParsedOptions::Action::Exit;
            result.message = usage(program);
            return result;
        } else if (arg == "--version") {
            result.action = ParsedOptions::Action::Exit;
            result.message = program + " " + ZOV_VERSION + "\n";
            return result;
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--vsync") {
            o.vsync = true;
        } else if (arg == "--no-vsync") {
            o.vsync = false;
        } else if (arg == "--study") {
            o.study = true;
        } else if (arg == "--start-time") {
            std::int64_t millis = 0;
            if (!parseSeconds(value, millis))
                return failure(program, "'--start-time' takes seconds from 0 to 86400 with at most three decimals, "
                                        "not '" + value + "'");
            o.startMillis = millis;
        } else if (arg == "--mute") {
            o.mute = true;
        } else if (arg == "--fps") {
            o.fps = true;
        } else if (arg == "--data") {
            if (value.empty())
                return failure(program, "option '--data' needs a folder");
            o.dataDir = value;
        } else if (arg == "--scale") {
            if (!parseWholeNumber(value, 1, 8, o.scale))
                return failure(program, "'--scale' takes a whole number from 1 to 8, not '" + value + "'");
        } else if (arg == "--audio-latency-ms") {
            if (!parseWholeNumber(value, 0, 2000, o.audioLatencyMs))
                return failure(program,
                               "'--audio-latency-ms' takes a whole number from 0 to 2000, not '" + value + "'");
        } else if (arg == "--repeat") {
            if (!parseWholeNumber(value, 1, kMostRepeats, o.repeat))
                return failure(program, "'--repeat' takes a whole number from 1 to " + std::to_string(kMostRepeats) +
                                            ", not '" + value + "'");
        } else if (arg == "--frames") {
            if (!parseWholeNumber(value, 1, std::numeric_limits<int>::max(), o.frames))
                return failure(program, "'--frames' takes a whole number of 1 or more, not '" + value + "'");
        } else if (isCaptureOption(arg)) {
            startOrderGiven = startOrderGiven || arg == "--start-order";
            if (auto problem = applyCaptureOption(arg, value, o.capture))
                return failure(program, *problem);
        } else if (arg.rfind("-", 0) == 0) {
            return failure(program, "unknown option '" + arg + "'");
        } else {
            return failure(program, "unexpected argument '" + arg + "'");
        }
    }
    if (auto problem = checkCaptureOptions(o.capture)) {
        // Not a misspelling: the line is all there is to say.
        ParsedOptions refused = failure(program, *problem);
        refused.message = program + ": " + *problem + "\n";
        return refused;
    }
    // Two ways of saying where the show opens.
    if (o.startMillis && startOrderGiven)
        return oneLine(program, "'--start-time' and '--start-order' cannot be used together");
    if (o.startMillis && o.capture.active())
        return oneLine(program, "'--start-time' opens the show played live: a capture starts at --from");
    if (o.study && (o.headless || o.capture.active()))
        return failure(program, "'--study' needs a window and its keys");
    // A capture shows nothing and reads no key.
    if (o.capture.active())
        o.headless = true;
    return result;
}

} // namespace zov
