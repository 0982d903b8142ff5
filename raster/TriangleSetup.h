#pragma once

#include <cmath>

// Projection and the triangle tests that come before any fill walks edges.
// coords is the triangle's x0 x1 x2, y0 y1 y2, z0 z1 z2.
namespace zov::raster {

// Replaces x and y by screen coordinates: sx = W * x * zoom / z + W / 2,
// sy = H / 2 - W * y * zoom / z (both axes scaled by the width: square pixels,
// focal length equal to the width). zoom 1 is exact, so the plain projection
// is this one with zoom 1. Returns false when a vertex does not land on a
// finite screen position (z = 0, or a NaN anywhere): such a triangle cannot
// be walked and is dropped.
inline bool project(float* coords, int width, int height, float zoom = 1.0f)
{
    const float w = static_cast<float>(width);
    const float halfW = static_cast<float>(width / 2);
    const float halfH = static_cast<float>(height / 2);
    bool finite = true;
    for (int i = 0; i < 3; ++i) {
        const float z = coords[6 + i];
        const float sx = w * coords[i] * zoom / z + halfW;
        const float sy = halfH - w * coords[3 + i] * zoom / z;
        coords[i] = sx;
        coords[3 + i] = sy;
        finite = finite && std::isfinite(sx) && std::isfinite(sy) && std::isfinite(z);
    }
    return finite;
}

// All three vertices beyond one side of the target.
inline bool offScreen(const float* c, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    return (c[0] > w && c[1] > w && c[2] > w) || (c[0] < 0.0f && c[1] < 0.0f && c[2] < 0.0f) ||
           (c[3] > h && c[4] > h && c[5] > h) || (c[3] < 0.0f && c[4] < 0.0f && c[5] < 0.0f);
}

// Screen-space winding: positive for the faces turned away from the eye.
inline bool backFacing(const float* c)
{
    return (c[3] - c[5]) * (c[1] - c[0]) - (c[4] - c[3]) * (c[0] - c[2]) > 0.0f;
}

} // namespace zov::raster
