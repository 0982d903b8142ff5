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
    field("instruments", std::to_string(info->instruments) + " (" + std::to_string(info->samples) + " samples)");
    field("speed", std::to_string(info->speed) + " ticks a row, tempo " + std::to_string(info->tempo) + " BPM");
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f s", info->seconds);
    field("duration", seconds);
    return true;
}

} // namespace zov::tool
