// partframes: frames of the show's real parts, rendered headless from data/
// on a hand-advanced clock, as PNGs: the previews for judging the kit's
// pictures where the effects draw over them.
//
//   partframes [--data DIR] OUT_DIR [PART@SECONDS ...]
//
// PART is slide, tunnel, scroller or greets; without any, every part at a few
// chosen times. DIR holds data/ (default: the working directory).
#include "effects/ShowPlayback.h"
#include "image/Bitmap.h"
#include "image/PngWriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

int usage()
{
    std::fputs("usage: partframes [--data DIR] OUT_DIR [PART@SECONDS ...]\n", stderr);
    return 2;
}

int help()
{
    std::fputs("Usage: partframes [--data DIR] OUT_DIR [PART@SECONDS ...]\n"
               "Renders frames of the ZOV demo's parts headless, frame after frame 10 ms of show\n"
               "time apart with the music's rows scripted, and writes each asked-for frame as\n"
               "OUT_DIR/PART_SECONDS.png. PART is slide, tunnel, scroller or greets; without\n"
               "any, every part at a few chosen times. The same pixels come out on every run.\n"
               "\n"
               "  --data DIR  the folder that holds data/ (default: the working directory)\n"
               "  --help      print this and exit\n"
               "  --version   print the version and exit\n",
               stdout);
    return 0;
}

// Frames to write, by part index.
using Requests = std::map<int, std::set<int>>;

Requests defaultRequests()
{
    const double seconds[zov::kShowPartCount][4] = {
        {0.5, 1.5, 3.0, 6.0}, {0.5, 1.0, 1.05, 3.0}, {0.5, 2.0, 4.0, 6.0}, {0.25, 0.74, 0.75, 2.0}};
    Requests r;
    for (int p = 0; p < zov::kShowPartCount; ++p)
        for (double s : seconds[p])
            r[p].insert(static_cast<int>(std::lround(s / zov::kPlaybackFrameSeconds)));
    return r;
}

// "tunnel@1.05"; false when it names no part or no time at or after 0.
bool parseRequest(const std::string& arg, Requests& r)
{
    const auto at = arg.find('@');
    if (at == std::string::npos)
        return false;
    const int part = zov::showPartIndex(arg.substr(0, at).c_str());
    char* end = nullptr;
    const double seconds = std::strtod(arg.c_str() + at + 1, &end);
    if (part < 0 || end == arg.c_str() + at + 1 || *end != '\0' || !(seconds >= 0.0) || seconds > 3600.0)
        return false;
    r[part].insert(static_cast<int>(std::lround(seconds / zov::kPlaybackFrameSeconds)));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help")
        return help();
    if (args.size() == 1 && args[0] == "--version") {
        std::puts("partframes " ZOV_VERSION);
        return 0;
    }
    fs::path dataRoot = fs::current_path();
    if (args.size() >= 2 && args[0] == "--data") {
        dataRoot = fs::absolute(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return usage();
    const fs::path out = fs::absolute(args[0]);
    Requests requests;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (!parseRequest(args[i], requests)) {
            std::fprintf(stderr, "partframes: %s is not PART@SECONDS\n", args[i].c_str());
            return usage();
        }
    if (requests.empty())
        requests = defaultRequests();

    std::error_code ec;
    fs::create_directories(out, ec);
    fs::current_path(dataRoot, ec);
    if (ec || !fs::exists("data")) {
        std::fprintf(stderr, "partframes: no data/ folder in %s\n", dataRoot.c_str());
        return 1;
    }
    bool ok = true;
    // In playing order, so that the stars share the show's "BONK" offset.
    for (const auto& [part, frames] : requests)
        zov::playShowPart(part, *frames.rbegin(), [&](int n, const zov::Bitmap& frame) {
            if (!frames.count(n))
                return;
            char name[64];
            std::snprintf(name, sizeof name, "%s_%.2f.png", zov::showPartName(part), n * zov::kPlaybackFrameSeconds);
            ok = zov::writePng(frame, (out / name).string()) && ok;
        });
    return ok ? 0 : 1;
}
