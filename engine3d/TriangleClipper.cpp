#include "engine3d/TriangleClipper.h"

#include "raster/FixedPoint.h"
#include "raster/RasterTriangle.h"

namespace zov {

namespace {

constexpr int kSets = 3; // uvA, uvB, uvC

// Everything of one corner that a cut interpolates.
struct Corner {
    float x, y, z;
    float u[kSets], v[kSets];
    std::int32_t shade[3];
};

float* uvSet(RasterTriangle& t, int s)
{
    return s == 0 ? t.uvA : s == 1 ? t.uvB : t.uvC;
}

Corner readCorner(RasterTriangle& t, int k)
{
    Corner c;
    c.x = t.coords[k];
    c.y = t.coords[3 + k];
    c.z = t.coords[6 + k];
    for (int s = 0; s < kSets; ++s) {
        const float* uv = uvSet(t, s);
        c.u[s] = uv ? uv[k] : 0.0f;
        c.v[s] = uv ? uv[3 + k] : 0.0f;
    }
    for (int ch = 0; ch < 3; ++ch)
        c.shade[ch] = t.shades ? t.shades[3 * ch + k] : 0;
    return c;
}

void writeCorner(RasterTriangle& t, int k, const Corner& c)
{
    t.coords[k] = c.x;
    t.coords[3 + k] = c.y;
    t.coords[6 + k] = c.z;
    for (int s = 0; s < kSets; ++s)
        if (float* uv = uvSet(t, s)) {
            uv[k] = c.u[s];
            uv[3 + k] = c.v[s];
        }
    if (t.shades)
        for (int ch = 0; ch < 3; ++ch)
            t.shades[3 * ch + k] = c.shade[ch];
}

// a + h (b - a), with z exactly `near`. Shades are unsigned intensities,
// interpolated in float and truncated back.
Corner cut(const Corner& a, const Corner& b, float h, float near)
{
    Corner c;
    c.x = a.x + h * (b.x - a.x);
    c.y = a.y + h * (b.y - a.y);
    c.z = near;
    for (int s = 0; s < kSets; ++s) {
        c.u[s] = a.u[s] + h * (b.u[s] - a.u[s]);
        c.v[s] = a.v[s] + h * (b.v[s] - a.v[s]);
    }
    for (int ch = 0; ch < 3; ++ch) {
        const float sa = static_cast<float>(static_cast<std::uint32_t>(a.shade[ch]));
        const float sb = static_cast<float>(static_cast<std::uint32_t>(b.shade[ch]));
        c.shade[ch] = static_cast<std::int32_t>(static_cast<std::uint32_t>(fixed::truncate(sa + h * (sb - sa))));
    }
    return c;
}

void copySharedAttributes(const RasterTriangle& from, RasterTriangle& to)
{
    to.textureA = from.textureA;
    to.textureB = from.textureB;
    to.textureC = from.textureC;
    to.textureD = from.textureD;
    to.colour = from.colour;
    to.transparency = from.transparency;
    to.blend = from.blend;
    to.typeCode = from.typeCode;
    if (from.shades && to.shades)
        for (int i = 0; i < 9; ++i)
            to.shades[i] = from.shades[i];
}

inline int next(int k)
{
    return (k + 1) % 3;
}
inline int prev(int k)
{
    return (k + 2) % 3;
}

} // namespace

ClipResult clipTriangle(RasterTriangle& triangle, RasterTriangle& spare, float near, float far)
{
    const float* z = triangle.coords + 6;
    if (z[0] > far && z[1] > far && z[2] > far)
        return {};

    int behind = 0, lastBehind = 0, lastInFront = 0;
    for (int k = 0; k < 3; ++k) {
        if (z[k] < near) {
            ++behind;
            lastBehind = k;
        } else {
            lastInFront = k; // at near counts: a cut towards it is then defined
        }
    }
    if (behind == 0)
        return {&triangle, nullptr, ClipResult::kFirst};
    if (behind == 3)
        return {};

    if (behind == 1) {
        const int f = lastBehind, i = next(f), p = prev(f);
        const Corner pf = readCorner(triangle, f), pi = readCorner(triangle, i), pp = readCorner(triangle, p);
        const Corner a = cut(pi, pf, (near - pi.z) / (pf.z - pi.z), near);
        const Corner b = cut(pf, pp, (near - pf.z) / (pp.z - pf.z), near);
        copySharedAttributes(triangle, spare);
        writeCorner(triangle, f, b);
        writeCorner(spare, 0, pi);
        writeCorner(spare, 1, b);
        writeCorner(spare, 2, a);
        return {&triangle, &spare, ClipResult::kFirst | ClipResult::kSecond};
    }

    const int i = lastInFront, f = next(i), p = prev(i);
    const Corner pi = readCorner(triangle, i), pf = readCorner(triangle, f), pp = readCorner(triangle, p);
    writeCorner(triangle, f, cut(pf, pi, (near - pf.z) / (pi.z - pf.z), near));
    writeCorner(triangle, p, cut(pi, pp, (near - pi.z) / (pp.z - pi.z), near));
    return {&triangle, nullptr, ClipResult::kFirst};
}

} // namespace zov
