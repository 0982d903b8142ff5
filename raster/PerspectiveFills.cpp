// The perspective-correct fills: texture coordinates divided out at the ends
// of runs of 16 (or 64) pixels and stepped linearly inside a run.
#include "image/Bitmap.h"
#include "raster/FillTarget.h"
#include "raster/NewRenderDriver.h"
#include "raster/PerspectiveWalk.h"
#include "raster/PixelOps.h"
#include "raster/RasterTriangle.h"
#include "raster/TriangleSetup.h"

#include <cstddef>

namespace zov {

using namespace raster;

namespace {

// Fog: level 0 (none) .. 255 (full) from 1/z.
struct Fog {
    float nearIz = 0.0f;  // 1/z at and above which there is no fog
    float farIz = 0.0f;   // 1/z below which fog is full
    float range = 0.0f;   // nearIz - farIz
    std::uint32_t colour = 0;

    std::int32_t level(float iz) const
    {
        if (iz < farIz)
            return 255;
        if (iz > nearIz)
            return 0;
        // Clamped: a zero or inverted range must not spill into other bytes.
        return fixed::truncateInto((nearIz - iz) / range * 255.0, 0, 255);
    }

    // Level 0 keeps the texel, 255 is the fog colour; between, a grey of the
    // level is added (non-zero colour) or taken away (colour 0).
    std::uint32_t apply(std::uint32_t texel, std::int32_t lv) const
    {
        if (lv == 0)
            return texel;
        if (lv == 255)
            return colour;
        const std::uint32_t grey = static_cast<std::uint32_t>(lv) * 0x010101u;
        return colour != 0 ? pixelops::addSaturate(texel, grey) : pixelops::subSaturate(texel, grey);
    }
};

// Pixel rules of the five fills. value is stamp + 1/z of the pixel.
struct OpaqueDepth {
    static constexpr bool kFog = false;
    void operator()(std::uint32_t& p, float& d, std::uint32_t texel, float value, std::int32_t) const
    {
        if (value > d) {
            d = value;
            p = texel;
        }
    }
};
struct AdditiveDepth {
    static constexpr bool kFog = false;
    void operator()(std::uint32_t& p, float& d, std::uint32_t texel, float value, std::int32_t) const
    {
        if (value > d)
            p = pixelops::addSaturate(p, texel);
    }
};
// Texel 0 is a hole that still takes the depth.
struct KeyedDepth {
    static constexpr bool kFog = false;
    void operator()(std::uint32_t& p, float& d, std::uint32_t texel, float value, std::int32_t) const
    {
        if (value > d) {
            d = value;
            if (texel != 0)
                p = texel;
        }
    }
};
struct NoDepth {
    static constexpr bool kFog = false;
    void operator()(std::uint32_t& p, float&, std::uint32_t texel, float, std::int32_t) const { p = texel; }
};
struct FogNoDepth {
    static constexpr bool kFog = true;
    Fog fog;
    void operator()(std::uint32_t& p, float&, std::uint32_t texel, float, std::int32_t lv) const
    {
        p = fog.apply(texel, lv);
    }
};
struct FogDepth {
    static constexpr bool kFog = true;
    Fog fog;
    void operator()(std::uint32_t& p, float& d, std::uint32_t texel, float value, std::int32_t lv) const
    {
        if (value > d) {
            d = value;
            p = fog.apply(texel, lv);
        }
    }
};

// 16.16 texel coordinate of u/z (or v/z) at 1/z.
std::int64_t texelCoord(float s, float iz) { return fixed::truncateFixed((65536.0f / iz) * s); }

// The span routine of one call, with its set-up values.
template <int kRunShift, class Pixel>
struct PerspectiveSpans {
    static constexpr int kRun = 1 << kRunShift;

    FillTarget t;
    const std::uint32_t* texture;
    Pixel pixel;
    PerspectiveGradients g;
    float run[3] = {}; // kRun times the x-gradients

    void begin(const PerspectiveGradients& gradients)
    {
        g = gradients;
        for (int k = 0; k < 3; ++k)
            run[k] = static_cast<float>(kRun) * g.dx[k];
    }

    // One run of `count` pixels from (u, v, iz, level) towards the end values.
    void draw(std::uint32_t* pix, float* dep, int count, std::int64_t u, std::int64_t v, std::int64_t du,
              std::int64_t dv, float iz, float diz, std::int32_t lv, std::int32_t dl) const
    {
        std::uint32_t uu = static_cast<std::uint32_t>(u), vv = static_cast<std::uint32_t>(v);
        const std::uint32_t duu = static_cast<std::uint32_t>(du), dvv = static_cast<std::uint32_t>(dv);
        const float stamp = t.stamp;
        for (int i = 0; i < count; ++i) {
            pixel(pix[i], dep[i], texture[fixed::texelIndex(uu, vv)], stamp + iz, lv >> 16);
            uu += duu;
            vv += dvv;
            iz += diz;
            if constexpr (Pixel::kFog)
                lv += dl;
        }
    }

    std::int32_t level(float iz) const
    {
        if constexpr (Pixel::kFog)
            return pixel.fog.level(iz);
        return 0;
    }

    void operator()(int y, const LeftEdge& left, float rightX) const
    {
        const int xl = fixed::truncateInto(left.x, 0, t.width);
        const int xr = fixed::truncateInto(rightX, -1, t.width);
        int n = xr - xl;
        if (n <= 0)
            return;
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(t.width) + xl;
        std::uint32_t* pix = t.pixels + at;
        float* dep = t.depth + at;
        // Pre-step from the edge to the centre of the first pixel.
        const float e = 1.0f - (left.x - static_cast<float>(xl));
        float iz = left.a[0] + e * g.dx[0];
        float s = left.a[1] + e * g.dx[1];
        float tv = left.a[2] + e * g.dx[2];
        std::int64_t u = texelCoord(s, iz), v = texelCoord(tv, iz);
        std::int32_t lv = level(iz);
        for (; n >= kRun; n -= kRun) {
            const float iz2 = iz + run[0], s2 = s + run[1], t2 = tv + run[2];
            const std::int64_t u2 = texelCoord(s2, iz2), v2 = texelCoord(t2, iz2);
            const std::int32_t lv2 = level(iz2);
            draw(pix, dep, kRun, u, v, (u2 - u) >> kRunShift, (v2 - v) >> kRunShift, iz,
                 (iz2 - iz) / static_cast<float>(kRun), lv * 65536, ((lv2 - lv) * 65536) >> kRunShift);
            pix += kRun;
            dep += kRun;
            u = u2;
            v = v2;
            iz = iz2;
            s = s2;
            tv = t2;
            lv = lv2;
        }
        if (n == 0)
            return;
        const float r = static_cast<float>(n);
        const float iz2 = iz + r * g.dx[0], s2 = s + r * g.dx[1], t2 = tv + r * g.dx[2];
        const std::int64_t u2 = texelCoord(s2, iz2), v2 = texelCoord(t2, iz2);
        const std::int32_t lv2 = level(iz2);
        draw(pix, dep, n, u, v, (u2 - u) / n, (v2 - v) / n, iz, (iz2 - iz) / r, lv * 65536,
             ((lv2 - lv) * 65536) / n);
    }
};

// Projected, on screen and (when asked) facing the eye: the vertices of the
// perspective walk. False when nothing is drawn.
bool perspectiveVertices(RasterTriangle& tri, const FillTarget& t, float zoom, bool cull,
                         std::array<PerspectiveVertex, 3>& out)
{
    float* c = tri.coords;
    if (!project(c, t.width, t.height, zoom) || offScreen(c, t.width, t.height) || (cull && backFacing(c)))
        return false;
    for (int i = 0; i < 3; ++i) {
        PerspectiveVertex& v = out[i];
        v.x = c[i] + 0.5f;
        v.y = c[3 + i] + 0.5f;
        v.a[0] = 1.0f / c[6 + i];
        v.a[1] = tri.uvA[i] * v.a[0];
        v.a[2] = tri.uvA[3 + i] * v.a[0];
    }
    return true;
}

template <int kRunShift, class Pixel>
void fillPerspectiveWith(const FillTarget& t, const RasterTriangle& tri, const std::array<PerspectiveVertex, 3>& v,
                         const Pixel& pixel)
{
    PerspectiveSpans<kRunShift, Pixel> spans{t, tri.textureA, pixel, {}};
    walkPerspective(v, t.height, spans);
}

bool usable(const RasterTriangle& tri) { return tri.coords && tri.uvA && tri.textureA; }

} // namespace

void NewRenderDriver::fillPerspective(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    std::array<PerspectiveVertex, 3> v;
    if (!usable(tri) || !bindTarget(target, stamp, t) || !perspectiveVertices(tri, t, zoom, cullBackFaces != 0, v))
        return;
    if (tri.blend == 0)
        fillPerspectiveWith<4>(t, tri, v, OpaqueDepth{});
    else
        fillPerspectiveWith<4>(t, tri, v, AdditiveDepth{});
}

void NewRenderDriver::fillPerspectiveKeyed(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    std::array<PerspectiveVertex, 3> v;
    if (!usable(tri) || !bindTarget(target, stamp, t) || !perspectiveVertices(tri, t, 1.0f, false, v))
        return;
    fillPerspectiveWith<6>(t, tri, v, KeyedDepth{});
}

void NewRenderDriver::fillPerspectiveNoDepth(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    std::array<PerspectiveVertex, 3> v;
    if (!usable(tri) || !bindTarget(target, stamp, t) || !perspectiveVertices(tri, t, 1.0f, true, v))
        return;
    fillPerspectiveWith<4>(t, tri, v, NoDepth{});
}

void NewRenderDriver::fillPerspectiveFogNoDepth(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    std::array<PerspectiveVertex, 3> v;
    if (!usable(tri) || !bindTarget(target, stamp, t) || !perspectiveVertices(tri, t, 1.0f, true, v))
        return;
    fillPerspectiveWith<4>(t, tri, v, FogNoDepth{{fogNear, fogFar, fogRange, fogColour}});
}

void NewRenderDriver::fillPerspectiveFog(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    std::array<PerspectiveVertex, 3> v;
    if (!usable(tri) || !bindTarget(target, stamp, t) || !perspectiveVertices(tri, t, 1.0f, true, v))
        return;
    fillPerspectiveWith<4>(t, tri, v, FogDepth{{fogNear, fogFar, fogRange, fogColour}});
}

} // namespace zov
