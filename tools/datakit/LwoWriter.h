#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zov::kit {

// A planar (or other) image map on a surface: CTEX, TFLG, TSIZ, TCTR, TIMG.
struct LwoTexture {
    std::string type = "Planar Image Map";
    std::uint16_t flags = 4; // bit 0 X axis, bit 1 Y axis, bit 2 Z axis
    std::array<float, 3> size{1.0f, 1.0f, 1.0f};
    std::array<float, 3> centre{0.0f, 0.0f, 0.0f};
    std::string image;
};

struct LwoSurface {
    std::string name;
    std::uint32_t colour = 0xC8C8C8; // 0x00RRGGBB
    std::optional<LwoTexture> colourTexture;
};

struct LwoPolygon {
    std::vector<std::uint16_t> vertices; // 0-based point indices
    std::uint16_t surface = 1;           // 1-based, in surface order
};

struct LwoObject {
    std::vector<std::array<float, 3>> points;
    std::vector<LwoSurface> surfaces;
    std::vector<LwoPolygon> polygons;
};

// FORM/LWOB with PNTS, SRFS, POLS and one SURF per surface, big-endian.
// Names and strings are NUL-terminated and padded to an even length, so every
// chunk and sub-chunk has an even size.
std::vector<std::uint8_t> encodeLwob(const LwoObject& object);
bool writeLwob(const LwoObject& object, const std::string& path);

} // namespace zov::kit
