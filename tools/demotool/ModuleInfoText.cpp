#include "platform/openmpt/ModuleInfo.h"
#include "tools/demotool/FileInfo.h"

#include <cstdio>

namespace zov::tool {

bool describeModule(const std::string& path, std::string& out, std::string& problem)
{
    std::string error;
    const std::optional<ModuleInfo> info = readModuleInfo(path, error);
    if (!info) {
        problem = error;
        return false;
    }
    const auto field = [&out](const char* name, const std::string& value) {
        out.append("  ").append(name).append(": ").append(value).append("\n");
    };
    out += "XM module\n";
    field("title", "\"" + info->title + "\"");
    field("tracker", "\"" + info->tracker + "\"");
    std::string orders = std::to_string(info->orders.size()) + ":";
    for (int pattern : info->orders)
        orders.append(" ").append(std::to_string(pattern));
    field("orders", orders);
    field("restart position", std::to_string(info->restartOrder));
    field("patterns", std::to_string(info->patterns));
    field("channels", std::to_string(info->channels));
    field("instruments", std::to_string(info->instruments) + " (" + counted(info->samples, "sample") + ")");
    field("speed", counted(info->speed, "tick") + " a row, tempo " + std::to_string(info->tempo) + " BPM");
    const auto seconds = [](double s) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s", s);
        return std::string(text);
    };
    const std::size_t songs = info->subsongs.size();
    field("duration", seconds(info->seconds));
    if (songs > 1) {
        field("subsongs", std::to_string(songs));
        for (std::size_t i = 0; i < songs; ++i) {
            const Subsong& s = info->subsongs[i];
            out += "    " + std::to_string(i + 1) + (s.name.empty() ? "" : " \"" + s.name + "\"") + ": " +
                   seconds(s.seconds) + ", from order " + std::to_string(s.startOrder) + "\n";
        }
    }
    return true;
}

} // namespace zov::tool
