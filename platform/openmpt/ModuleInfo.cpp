#include "platform/openmpt/ModuleInfo.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zov {

namespace {

// The XM header's restart position, which the library does not report.
int xmRestartOrder(const std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t kRestartAt = 66;
    static const char kMagic[] = "Extended Module: ";
    if (bytes.size() < kRestartAt + 2 || std::memcmp(bytes.data(), kMagic, sizeof kMagic - 1) != 0)
        return -1;
    return bytes[kRestartAt] | (bytes[kRestartAt + 1] << 8);
}

} // namespace

std::optional<ModuleInfo> readModuleInfo(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::ostringstream log; // the library's remarks are not ours to print
    try {
        openmpt::module module(bytes, log);
        ModuleInfo info;
        info.title = module.get_metadata("title");
        info.tracker = module.get_metadata("tracker");
        info.type = module.get_metadata("type");
        for (std::int32_t i = 0; i < module.get_num_orders(); ++i)
            info.orders.push_back(module.get_order_pattern(i));
        info.restartOrder = info.type == "xm" ? xmRestartOrder(bytes) : -1;
        info.patterns = module.get_num_patterns();
        info.channels = module.get_num_channels();
        info.instruments = module.get_num_instruments();
        info.samples = module.get_num_samples();
        info.speed = module.get_current_speed();
        info.tempo = module.get_current_tempo();
        info.seconds = module.get_duration_seconds();
        // Last: choosing a subsong moves the position the fields above are read at.
        const std::vector<std::string> names = module.get_subsong_names();
        for (std::int32_t i = 0; i < module.get_num_subsongs(); ++i) {
            module.select_subsong(i);
            info.subsongs.push_back(
                {i < static_cast<std::int32_t>(names.size()) ? names[static_cast<std::size_t>(i)] : "",
                 module.get_current_order(), module.get_duration_seconds()});
        }
        return info;
    } catch (const std::exception& e) {
        error = std::string("not a module the music library can read (") + e.what() + ")";
        return std::nullopt;
    }
}

} // namespace zov
