// The affine fills: edge walking in 16.16, one span routine per blend kind,
// chosen once per triangle.
#include "image/Bitmap.h"
#include "raster/EdgeWalk.h"
#include "raster/NewRenderDriver.h"
#include "raster/PixelOps.h"
#include "raster/RasterTriangle.h"
#include "raster/TriangleSetup.h"

#include <algorithm>

namespace zov {

using namespace raster;

namespace {

// How a source pixel meets the destination.
struct Replace {
    std::uint32_t operator()(std::uint32_t, std::uint32_t s) const { return s; }
};
struct AddSaturate {
    std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const { return pixelops::addSaturate(d, s); }
};
struct Average {
    std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const { return pixelops::average(d, s); }
};
// (d * t + s * (255 - t)) >> 8
struct Weighted {
    std::uint32_t t;
    std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const { return pixelops::blend(d, s, t); }
};

template <class Op>
struct FlatShader {
    std::uint32_t colour;
    Op op;
    void begin(const Span<0>&) {}
    void shade(std::uint32_t& p) const { p = op(p, colour); }
    void step() {}
};

// u, v walked as wrapping 32-bit values: only bits 16..23 address a texel.
struct TexCoord {
    std::uint32_t u = 0, v = 0, du = 0, dv = 0;
    template <int N>
    void begin(const Span<N>& s, int first)
    {
        u = static_cast<std::uint32_t>(s.a[first]);
        v = static_cast<std::uint32_t>(s.a[first + 1]);
        du = static_cast<std::uint32_t>(s.da[first]);
        dv = static_cast<std::uint32_t>(s.da[first + 1]);
    }
    std::uint32_t index() const { return fixed::texelIndex(u, v); }
    void step()
    {
        u += du;
        v += dv;
    }
};

template <class Op>
struct TextureShader {
    const std::uint32_t* texture;
    Op op;
    TexCoord tc;
    void begin(const Span<2>& s) { tc.begin(s, 0); }
    void shade(std::uint32_t& p) const { p = op(p, texture[tc.index()]); }
    void step() { tc.step(); }
};

// Saturating sum of an image texel and an environment texel.
struct EnvAddShader {
    const std::uint32_t* image;
    const std::uint32_t* env;
    TexCoord a, b;
    void begin(const Span<4>& s)
    {
        a.begin(s, 0);
        b.begin(s, 2);
    }
    void shade(std::uint32_t& p) const { p = pixelops::addSaturate(image[a.index()], env[b.index()]); }
    void step()
    {
        a.step();
        b.step();
    }
};

// Mask byte m: 250 and above keeps the pixel, 0 writes the texel, between
// weighs the pixel by m.
struct MaskedShader {
    const std::uint32_t* texture;
    const std::uint32_t* mask;
    TexCoord tc;
    void begin(const Span<2>& s) { tc.begin(s, 0); }
    void shade(std::uint32_t& p) const
    {
        const std::uint32_t i = tc.index();
        const std::uint32_t m = mask[i] & 0xFFu;
        if (m >= 250u)
            return;
        p = m == 0 ? texture[i] : pixelops::blend(p, texture[i], m);
    }
    void step() { tc.step(); }
};

// Environment lookup moved by 5 texels per unit of the bump texel's red
// (columns) and blue (rows) byte, wrapped.
struct BumpShader {
    const std::uint32_t* env;
    const std::uint32_t* bump;
    TexCoord b, e;
    void begin(const Span<4>& s)
    {
        b.begin(s, 0);
        e.begin(s, 2);
    }
    void shade(std::uint32_t& p) const
    {
        const std::uint32_t d = bump[b.index()];
        const std::uint32_t col = ((e.u >> 16) + 5u * ((d >> 16) & 0xFFu)) & 0xFFu;
        const std::uint32_t row = ((e.v >> 16) + 5u * (d & 0xFFu)) & 0xFFu;
        p = env[row * 256u + col];
    }
    void step()
    {
        b.step();
        e.step();
    }
};

// Channel times intensity: intensities are 16.16 with integer part 0..255
// (inputs are clamped, and interpolation stays between its ends).
struct Shades {
    std::uint32_t r = 0, g = 0, b = 0;
    std::int32_t dr = 0, dg = 0, db = 0;
    template <int N>
    void begin(const Span<N>& s, int first)
    {
        r = static_cast<std::uint32_t>(s.a[first]);
        g = static_cast<std::uint32_t>(s.a[first + 1]);
        b = static_cast<std::uint32_t>(s.a[first + 2]);
        dr = static_cast<std::int32_t>(s.da[first]);
        dg = static_cast<std::int32_t>(s.da[first + 1]);
        db = static_cast<std::int32_t>(s.da[first + 2]);
    }
    std::uint32_t light(std::uint32_t c) const
    {
        return ((((r >> 16) * ((c >> 16) & 0xFFu)) >> 8) << 16) | ((((g >> 16) * ((c >> 8) & 0xFFu)) >> 8) << 8) |
               (((b >> 16) * (c & 0xFFu)) >> 8);
    }
    void step()
    {
        r += static_cast<std::uint32_t>(dr);
        g += static_cast<std::uint32_t>(dg);
        b += static_cast<std::uint32_t>(db);
    }
};

struct GouraudShader {
    std::uint32_t colour;
    Shades sh;
    void begin(const Span<3>& s) { sh.begin(s, 0); }
    void shade(std::uint32_t& p) const { p = sh.light(colour); }
    void step() { sh.step(); }
};

struct GouraudTexturedShader {
    const std::uint32_t* texture;
    TexCoord tc;
    Shades sh;
    void begin(const Span<5>& s)
    {
        tc.begin(s, 0);
        sh.begin(s, 2);
    }
    void shade(std::uint32_t& p) const { p = sh.light(texture[tc.index()]); }
    void step()
    {
        tc.step();
        sh.step();
    }
};

template <class Depth, int N, class Shader>
void fillWith(const FillTarget& t, const std::array<WalkVertex<N>, 3>& v, const Shader& shader)
{
    walkTriangle<N>(v, t.width, t.height, [&](const Span<N>& s, int y) { drawSpan<Depth>(t, s, y, shader); });
}

// Attributes of the walk: texture coordinate sets (u then v) and shade
// channels, in 16.16.
std::int64_t uvAt(const float* uv, int vertex, int k) { return fixed::fromFloat(uv[k * 3 + vertex]); }

std::int64_t shadeAt(const std::int32_t* shades, int vertex, int channel)
{
    return std::int64_t{std::clamp(shades[channel * 3 + vertex], 0, 255)} * fixed::kOne;
}

// Projection and off-screen rejection shared by the affine fills.
bool onScreen(float* coords, const FillTarget& t)
{
    return project(coords, t.width, t.height) && !offScreen(coords, t.width, t.height);
}

} // namespace

void NewRenderDriver::fillFlat(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !bindTarget(target, stamp, t) || !onScreen(tri.coords, t))
        return;
    const auto v = walkVertices<0>(tri.coords, [](int, int) { return std::int64_t{0}; });
    if (tri.blend == 0)
        fillWith<DepthTestWrite>(t, v, FlatShader<Replace>{tri.colour, {}});
    else if (tri.blend == 8)
        fillWith<DepthTest>(t, v, FlatShader<AddSaturate>{tri.colour, {}});
}

void NewRenderDriver::fillTextured(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !tri.uvA || !tri.textureA || !bindTarget(target, stamp, t) || !onScreen(tri.coords, t))
        return;
    if (tri.blend == 0 && backFacing(tri.coords))
        return;
    const float* uv = tri.uvA;
    const auto v = walkVertices<2>(tri.coords, [uv](int i, int k) { return uvAt(uv, i, k); });
    const std::uint32_t* tex = tri.textureA;
    const std::uint32_t tr = tri.transparency;
    if (tri.blend == 0)
        fillWith<DepthTestWrite>(t, v, TextureShader<Replace>{tex, {}, {}});
    else if (tri.blend == 8)
        fillWith<DepthTest>(t, v, TextureShader<AddSaturate>{tex, {}, {}});
    else if (tr == 0)
        fillWith<DepthTestWrite>(t, v, TextureShader<Replace>{tex, {}, {}});
    else if (tr == 127 || tr == 128)
        fillWith<DepthTest>(t, v, TextureShader<Average>{tex, {}, {}});
    else if (tr != 255)
        fillWith<DepthTest>(t, v, TextureShader<Weighted>{tex, {tr}, {}});
}

void NewRenderDriver::fillTextureEnvAdd(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !tri.uvA || !tri.uvB || !tri.textureA || !tri.textureB || !bindTarget(target, stamp, t) ||
        !onScreen(tri.coords, t) || tri.blend != 0)
        return;
    const float* a = tri.uvA;
    const float* b = tri.uvB;
    const auto v =
        walkVertices<4>(tri.coords, [a, b](int i, int k) { return k < 2 ? uvAt(a, i, k) : uvAt(b, i, k - 2); });
    fillWith<DepthTestWrite>(t, v, EnvAddShader{tri.textureA, tri.textureB, {}, {}});
}

void NewRenderDriver::fillTextureMasked(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !tri.uvA || !tri.textureA || !tri.textureD || !bindTarget(target, stamp, t) ||
        !onScreen(tri.coords, t))
        return;
    const float* uv = tri.uvA;
    const auto v = walkVertices<2>(tri.coords, [uv](int i, int k) { return uvAt(uv, i, k); });
    fillWith<DepthTest>(t, v, MaskedShader{tri.textureA, tri.textureD, {}});
}

void NewRenderDriver::fillBumpEnv(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    // No off-screen rejection here: the spans clip whatever lies outside.
    if (!tri.coords || !tri.uvB || !tri.uvC || !tri.textureB || !tri.textureC || !bindTarget(target, stamp, t) ||
        !project(tri.coords, t.width, t.height) || tri.blend != 0)
        return;
    const float* bump = tri.uvC;
    const float* env = tri.uvB;
    const auto v = walkVertices<4>(
        tri.coords, [bump, env](int i, int k) { return k < 2 ? uvAt(bump, i, k) : uvAt(env, i, k - 2); });
    fillWith<DepthTestWrite>(t, v, BumpShader{tri.textureB, tri.textureC, {}, {}});
}

void NewRenderDriver::fillGouraudTextured(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !tri.uvA || !tri.shades || !tri.textureA || !bindTarget(target, stamp, t) ||
        !onScreen(tri.coords, t) || tri.blend != 0)
        return;
    const float* uv = tri.uvA;
    const std::int32_t* shades = tri.shades;
    const auto v = walkVertices<5>(
        tri.coords, [uv, shades](int i, int k) { return k < 2 ? uvAt(uv, i, k) : shadeAt(shades, i, k - 2); });
    fillWith<DepthTestWrite>(t, v, GouraudTexturedShader{tri.textureA, {}, {}});
}

void NewRenderDriver::fillGouraud(RasterTriangle& tri, Bitmap& target, int stamp)
{
    FillTarget t;
    if (!tri.coords || !tri.shades || !bindTarget(target, stamp, t) || !onScreen(tri.coords, t) || tri.blend != 0)
        return;
    const std::int32_t* shades = tri.shades;
    const auto v = walkVertices<3>(tri.coords, [shades](int i, int k) { return shadeAt(shades, i, k); });
    fillWith<DepthTestWrite>(t, v, GouraudShader{tri.colour, {}});
}

} // namespace zov
