#pragma once

#include <cstdint>

namespace zov {

struct RasterTriangle;

struct ClipResult {
    static constexpr std::uint32_t kFirst = 0x00FF;
    static constexpr std::uint32_t kSecond = 0xFF00;

    RasterTriangle* first = nullptr;
    RasterTriangle* second = nullptr;
    std::uint32_t flags = 0; // kFirst and kSecond when present
};

// Cuts a camera-space triangle at z = near so that every z reaching the fills'
// perspective divide is at or beyond near. Drops it when it lies wholly
// beyond far or wholly nearer than near; a triangle crossing far is not cut.
// The triangle is changed in place; `spare` (with arrays of its own) takes
// the second half when the cut leaves a quadrilateral. Positions, shades and
// the texture sets uvA, uvB and uvC are carried to cut vertices.
ClipResult clipTriangle(RasterTriangle& triangle, RasterTriangle& spare, float near, float far);

} // namespace zov
