#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zov::test {

// A minimal, independent reading of a FORM/LWOB file: enough to check what
// the writer produced. `error` is set when the structure is broken.
struct WalkedSurface {
    std::string name;
    std::vector<std::string> subChunks; // identifiers in order
    std::uint32_t colour = 0;
    std::string textureType;
    std::uint16_t textureFlags = 0;
    std::array<float, 3> size{};
    std::array<float, 3> centre{};
    std::string image;
};

struct WalkedPolygon {
    std::vector<std::uint16_t> vertices;
    std::uint16_t surface = 0;
};

struct WalkedLwob {
    std::string error;
    std::vector<std::string> chunks;
    std::vector<std::array<float, 3>> points;
    std::vector<std::string> surfaceNames; // from SRFS
    std::vector<WalkedSurface> surfaces;   // from SURF
    std::vector<WalkedPolygon> polygons;
};

WalkedLwob walkLwob(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFileBytes(const std::string& path);

} // namespace zov::test
