// demotool: looks into the files the show reads and draws its objects and
// parts one picture at a time.
#include "image/OutputFile.h"
#include "show/ShowTable.h"
#include "show/program/DataSearch.h"
#include "tools/demotool/FileInfo.h"
#include "tools/demotool/QuietStdout.h"
#include "tools/demotool/Render.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace zov::tool;

constexpr std::size_t kMaxFileBytes = 64u << 20;

constexpr const char* kUsage =
    "Usage: demotool COMMAND [options]\n"
    "Looks into the ZOV demo's files and draws its objects and parts.\n"
    "\n"
    "Commands:\n"
    "  info FILE...           what each file holds; the kind is told from its bytes\n"
    "  render-object FILE.lwo [options] -o OUT.png\n"
    "                         an LWOB object through the show's scene pipeline\n"
    "  render-part N --time T [--data DIR] -o OUT.png\n"
    "                         one frame of part N (1 to PARTS) at T seconds of show time\n"
    "\n"
    "'demotool COMMAND --help' tells more of each. Exit status: 0 on success, 1 when a file\n"
    "cannot be read or written (a line on standard error says which and why), 2 for a\n"
    "mistake in the command line.\n"
    "\n"
    "  --help     print this and exit\n"
    "  --version  print the version and exit\n";

constexpr const char* kInfoUsage =
    "Usage: demotool info FILE...\n"
    "Prints what each file holds, telling its kind from its first bytes:\n"
    "  LWOB objects: points, polygons by number of corners, each surface (name, colour,\n"
    "    flags, texture kind and image), the bounding box and the chunks;\n"
    "  XM modules: title, tracker, orders, restart position, patterns, channels,\n"
    "    instruments, speed and tempo, duration, and each subsong's length where there\n"
    "    are several;\n"
    "  PCX pictures: the header (version, bits per pixel, planes, bytes per line, window,\n"
    "    resolution) and whether the show's loader reads the picture;\n"
    "  JPEG pictures: size, components, coding process and colour space.\n"
    "A file it cannot read gets a line on standard error and status 1; the others are\n"
    "still described.\n";

constexpr const char* kObjectUsage =
    "Usage: demotool render-object FILE.lwo [options] -o OUT.png\n"
    "Draws an LWOB object through the show's scene pipeline, on a dark background.\n"
    "\n"
    "  --envmap FILE      one environment-mapped surface from this picture, as the show\n"
    "                     draws its star (default: the object's own surfaces)\n"
    "  --rotation X,Y,Z   turn the object by these angles, in degrees (default 0,0,0)\n"
    "  --distance D       the camera's distance from the object's origin (default: three\n"
    "                     times the farthest point's)\n"
    "  --size WxH         the picture's size (default 512x384)\n"
    "  -o OUT.png         the picture to write\n"
    "Picture files the object names are looked for from the working directory. The\n"
    "show's own lines about loading and releasing are not printed.\n";

constexpr const char* kPartUsage =
    "Usage: demotool render-part N --time T [--data DIR] -o OUT.png\n"
    "Draws part N of the show (1 to PARTS) from its start, a frame every 10 ms of show time with\n"
    "the music's rows scripted, and writes the frame at T seconds, so that trails, feedback\n"
    "and the star's jumps on the beat are as the show has them. The same pixels come out\n"
    "on every run.\n"
    "\n"
    "  --time T     seconds of show time since the part began (0 or more, to 10 ms)\n"
    "  --data DIR   the folder holding data/ (or data/ itself); by default the working\n"
    "               directory, then the program's folder, then ../share/zov from it\n"
    "  -o OUT.png   the picture to write\n";

// The text with PARTS replaced by the number of the show's parts.
std::string withPartCount(std::string text)
{
    const std::string count = std::to_string(zov::kShowPartCount);
    for (std::size_t at = text.find("PARTS"); at != std::string::npos; at = text.find("PARTS", at))
        text.replace(at, 5, count);
    return text;
}

int usageError(const std::string& problem, const char* command = nullptr)
{
    std::fprintf(stderr, "demotool: %s\nTry 'demotool %s--help'.\n", problem.c_str(),
                 command ? (std::string(command) + " ").c_str() : "");
    return 2;
}

bool isHelp(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--help" || a == "-h")
            return true;
    return false;
}

template <typename T> bool parseNumber(const std::string& text, T& out)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

int info(const std::vector<std::string>& files)
{
    if (files.empty())
        return usageError("info needs at least one file", "info");
    int status = 0;
    for (const std::string& path : files) {
        std::vector<std::uint8_t> bytes;
        std::string text, problem;
        bool ok = readFileBytes(path, kMaxFileBytes, bytes, problem);
        if (ok) {
            switch (detectKind(bytes)) {
            case FileKind::Lwob: ok = describeLwob(bytes, text, problem); break;
            case FileKind::Xm: ok = describeModule(path, text, problem); break;
            case FileKind::Pcx: ok = describePcx(bytes, text, problem); break;
            case FileKind::Jpeg: ok = describeJpeg(bytes, text, problem); break;
            case FileKind::Lwo2:
                ok = false;
                problem = "a LightWave object of the newer LWO2 kind; the show reads LWOB";
                break;
            case FileKind::Unknown:
                ok = false;
                problem = "not a file of a kind the show reads (LWOB, XM, PCX or JPEG)";
                break;
            }
        }
        std::fflush(stdout);
        if (!ok) {
            std::fprintf(stderr, "demotool: %s: %s\n", path.c_str(), problem.c_str());
            status = 1;
            continue;
        }
        std::printf("%s: %s", path.c_str(), text.c_str());
    }
    return status;
}

// Said before anything is drawn, which may take a while.
bool outputWritable(const std::string& path)
{
    std::string error;
    if (zov::checkOutputFile(path, error))
        return true;
    std::fprintf(stderr, "demotool: %s\n", error.c_str());
    return false;
}

int renderObjectCommand(const std::vector<std::string>& args)
{
    constexpr const char* kCommand = "render-object";
    ObjectView view;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--envmap" || a == "--rotation" || a == "--distance" || a == "--size" || a == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return usageError("option '" + a + "' needs a value", kCommand);
            const std::string& v = args[++i];
            if (a == "--envmap") {
                view.envmap = v;
            } else if (a == "-o") {
                view.output = v;
            } else if (a == "--distance") {
                if (!parseNumber(v, view.distance) || !(view.distance > 0.0))
                    return usageError("'--distance' takes a number above 0, not '" + v + "'", kCommand);
            } else if (a == "--rotation") {
                const std::size_t c1 = v.find(','), c2 = c1 == std::string::npos ? c1 : v.find(',', c1 + 1);
                if (c2 == std::string::npos || !parseNumber(v.substr(0, c1), view.rotation[0]) ||
                    !parseNumber(v.substr(c1 + 1, c2 - c1 - 1), view.rotation[1]) ||
                    !parseNumber(v.substr(c2 + 1), view.rotation[2]))
                    return usageError("'--rotation' takes three angles X,Y,Z, not '" + v + "'", kCommand);
            } else {
                const std::size_t x = v.find('x');
                if (x == std::string::npos || !parseNumber(v.substr(0, x), view.width) ||
                    !parseNumber(v.substr(x + 1), view.height) || view.width < 1 || view.height < 1 ||
                    view.width > 8192 || view.height > 8192)
                    return usageError("'--size' takes WxH, each from 1 to 8192, not '" + v + "'", kCommand);
            }
        } else if (a.rfind("-", 0) == 0) {
            return usageError("unknown option '" + a + "'", kCommand);
        } else if (view.object.empty()) {
            view.object = a;
        } else {
            return usageError("unexpected argument '" + a + "'", kCommand);
        }
    }
    if (view.object.empty() || view.output.empty())
        return usageError("render-object needs an object and -o OUT.png", kCommand);
    if (!outputWritable(view.output))
        return 1;
    const QuietStdout quiet;
    return renderObject(view);
}

int renderPartCommand(const std::vector<std::string>& args)
{
    constexpr const char* kCommand = "render-part";
    int part = 0;
    double seconds = -1.0;
    std::string data, output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--time" || a == "--data" || a == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return usageError("option '" + a + "' needs a value", kCommand);
            const std::string& v = args[++i];
            if (a == "--time") {
                if (!parseNumber(v, seconds) || !(seconds >= 0.0) || seconds > 3600.0)
                    return usageError("'--time' takes seconds from 0 to 3600, not '" + v + "'", kCommand);
            } else {
                (a == "--data" ? data : output) = v;
            }
        } else if (a.rfind("-", 0) == 0) {
            return usageError("unknown option '" + a + "'", kCommand);
        } else if (part == 0) {
            if (!parseNumber(a, part) || part < 1 || part > zov::kShowPartCount)
                return usageError(withPartCount("the part is a number from 1 to PARTS, not '") + a + "'", kCommand);
        } else {
            return usageError("unexpected argument '" + a + "'", kCommand);
        }
    }
    if (part == 0 || seconds < 0.0 || output.empty())
        return usageError("render-part needs N, --time T and -o OUT.png", kCommand);
    if (!outputWritable(output))
        return 1;

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    output = (here / output).string();
    const fs::path programDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    const auto root = zov::findDataRoot(data, here, programDir);
    if (!root) {
        std::fputs(zov::missingDataMessage("demotool", data, here, programDir).c_str(), stderr);
        return 1;
    }
    fs::current_path(*root, ec);
    if (ec) {
        std::fprintf(stderr, "demotool: cannot change to %s: %s\n", root->c_str(), ec.message().c_str());
        return 1;
    }
    const QuietStdout quiet;
    return renderPart(part - 1, seconds, output);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h") {
        std::fputs(withPartCount(kUsage).c_str(), stdout);
        return 0;
    }
    if (command == "--version") {
        std::puts("demotool " ZOV_VERSION);
        return 0;
    }
    if (command == "info") {
        if (isHelp(rest))
            return std::fputs(kInfoUsage, stdout) < 0;
        return info(rest);
    }
    if (command == "render-object") {
        if (isHelp(rest))
            return std::fputs(kObjectUsage, stdout) < 0;
        return renderObjectCommand(rest);
    }
    if (command == "render-part") {
        if (isHelp(rest))
            return std::fputs(withPartCount(kPartUsage).c_str(), stdout) < 0;
        return renderPartCommand(rest);
    }
    return usageError("unknown command '" + command + "'");
}
