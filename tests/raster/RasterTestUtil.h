#pragma once

#include "tests/ReferenceHashes.h"

#include "image/Bitmap.h"
#include "raster/RasterTriangle.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace zov::rastertest {

// A 256 x 256 texture whose texel at (u, v) is f(u, v).
inline std::vector<std::uint32_t> makeTexture(const std::function<std::uint32_t(int, int)>& f)
{
    std::vector<std::uint32_t> t(256 * 256);
    for (int v = 0; v < 256; ++v)
        for (int u = 0; u < 256; ++u)
            t[v * 256 + u] = f(u, v);
    return t;
}

// Texel value naming its own column and row: 0x00RRCC00 + row << 16 etc.
inline std::uint32_t addressTexel(int u, int v) { return 0x01000000u | (static_cast<std::uint32_t>(v) << 8) | u; }

inline std::vector<std::uint32_t> addressTexture() { return makeTexture(addressTexel); }

inline std::vector<std::uint32_t> solidTexture(std::uint32_t value)
{
    return makeTexture([value](int, int) { return value; });
}

struct ScreenVertex {
    float sx, sy, z;
    float u = 0.0f, v = 0.0f;
};

// A triangle whose vertices project to the given screen positions on a
// width x height target (the inverse of the fills' projection; exact when
// z / width is a power of two).
inline OwnedRasterTriangle screenTriangle(int width, int height, const ScreenVertex (&v)[3], float zoom = 1.0f)
{
    OwnedRasterTriangle t;
    const float w = static_cast<float>(width);
    for (int i = 0; i < 3; ++i) {
        t.coords[i] = (v[i].sx - static_cast<float>(width / 2)) * v[i].z / (w * zoom);
        t.coords[3 + i] = (static_cast<float>(height / 2) - v[i].sy) * v[i].z / (w * zoom);
        t.coords[6 + i] = v[i].z;
        for (int s = 0; s < 3; ++s) {
            t.uv[s][i] = v[i].u;
            t.uv[s][3 + i] = v[i].v;
        }
    }
    return t;
}

// Two triangles covering the rectangle [x0, x1) x [y0, y1) of screen space.
inline std::vector<OwnedRasterTriangle> screenRect(int width, int height, float x0, float y0, float x1, float y1,
                                                   float z)
{
    const ScreenVertex a[3] = {{x0, y0, z}, {x1, y0, z}, {x0, y1, z}};
    const ScreenVertex b[3] = {{x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
    return {screenTriangle(width, height, a), screenTriangle(width, height, b)};
}

inline int countPixels(const Bitmap& b, std::uint32_t value)
{
    int n = 0;
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        n += b.pixels()[i] == value;
    return n;
}

using reference::pixelHash;

} // namespace zov::rastertest
