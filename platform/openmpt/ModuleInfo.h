#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zov {

// A song of a module that holds several, as the library finds them: orders
// that playing from the first never reaches start one of their own.
struct Subsong {
    std::string name; // mostly empty: few formats name them
    int startOrder = 0;
    double seconds = 0.0; // one pass
};

// What the music library tells of a module file, for tools and checks.
struct ModuleInfo {
    std::string title;
    std::string tracker;   // the program that saved it, as the file says
    std::string type;      // e.g. "xm"
    std::vector<int> orders; // the pattern of each order
    int restartOrder = -1; // where a looping XM goes on after its end; -1: not an XM
    int patterns = 0;
    int channels = 0;
    int instruments = 0;
    int samples = 0;
    int speed = 0; // ticks per row at the start
    int tempo = 0; // beats per minute at the start
    double seconds = 0.0; // one pass through the orders, from the first
    std::vector<Subsong> subsongs; // the first plays from order 0; one for most modules
};

// Reads a module file; none, with the reason in error, when the library
// cannot take it.
std::optional<ModuleInfo> readModuleInfo(const std::string& path, std::string& error);

} // namespace zov
