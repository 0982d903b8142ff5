// Reference pictures: small scenes that use every fill and every blend,
// compared by a hash of their pixels with the table in reference/hashes.txt.
// A changed hash means changed output: look at the pictures, and when the
// change is intended regenerate table and pictures with
//   ZOV_UPDATE_REFERENCE=1 ./raster_reference_test
// (writes tests/raster/reference/*.png and hashes.txt in the source tree).
#include "image/PngWriter.h"
#include "raster/NewRenderDriver.h"
#include "raster/Sprite.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zov {
namespace {

constexpr int W = 256;
constexpr int H = 192;

const std::string kReferenceDir = std::string(ZOV_SOURCE_DIR) + "/tests/raster/reference";

std::uint32_t rgb(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r & 255) << 16) | (static_cast<std::uint32_t>(g & 255) << 8) |
           static_cast<std::uint32_t>(b & 255);
}

struct Textures {
    // Checks of 32 texels with gradients inside them.
    std::vector<std::uint32_t> image = rastertest::makeTexture([](int u, int v) {
        const bool odd = ((u >> 5) ^ (v >> 5)) & 1;
        return odd ? rgb(200, (u & 31) * 8, 40) : rgb(30, 60 + (v & 31) * 6, 200 - (u & 31) * 4);
    });
    // A bright spot fading to dark: the environment.
    std::vector<std::uint32_t> env = rastertest::makeTexture([](int u, int v) {
        const double d = std::hypot(u - 128.0, v - 128.0);
        const int l = d > 128 ? 0 : static_cast<int>(255 - d * 2) & 255;
        return rgb(l, l * 3 / 4, l / 2);
    });
    // Ripples in red and blue (column and row displacement).
    std::vector<std::uint32_t> bump = rastertest::makeTexture([](int u, int v) {
        return rgb(static_cast<int>(4 + 3 * std::sin(u * 0.2)), 0, static_cast<int>(4 + 3 * std::cos(v * 0.15)));
    });
    // Mask bytes 0 (solid) to 255 (skipped) in rings.
    std::vector<std::uint32_t> mask = rastertest::makeTexture([](int u, int v) {
        const int d = static_cast<int>(std::hypot(u - 128.0, v - 128.0));
        return static_cast<std::uint32_t>(d < 40 ? 0 : (d * 2) & 255);
    });
    // Holes (texel 0) between bars for the keyed fill.
    std::vector<std::uint32_t> bars =
        rastertest::makeTexture([](int u, int v) { return ((u >> 4) & 1) && v > 20 ? rgb(250, 250, u) : 0u; });
};

// A camera-space triangle with texture coordinates in every set.
OwnedRasterTriangle tri(const float (&p)[3][3], const float (&uv)[3][2])
{
    OwnedRasterTriangle t;
    for (int i = 0; i < 3; ++i) {
        t.coords[i] = p[i][0];
        t.coords[3 + i] = p[i][1];
        t.coords[6 + i] = p[i][2];
        for (int s = 0; s < 4; ++s) {
            t.uv[s][i] = uv[i][0];
            t.uv[s][3 + i] = uv[i][1];
        }
    }
    return t;
}

// Two triangles of a quad a b c d, clockwise on the screen (facing the eye).
std::vector<OwnedRasterTriangle> quad(const float (&p)[4][3], float texels)
{
    const float (&a)[3] = p[0];
    const float (&b)[3] = p[1];
    const float (&c)[3] = p[2];
    const float (&d)[3] = p[3];
    return {tri({{a[0], a[1], a[2]}, {b[0], b[1], b[2]}, {d[0], d[1], d[2]}}, {{0, 0}, {texels, 0}, {0, texels}}),
            tri({{b[0], b[1], b[2]}, {c[0], c[1], c[2]}, {d[0], d[1], d[2]}},
                {{texels, 0}, {texels, texels}, {0, texels}})};
}

using Fill = void (NewRenderDriver::*)(RasterTriangle&, Bitmap&, int);

void drawAll(NewRenderDriver& d, Fill fill, std::vector<OwnedRasterTriangle> tris, Bitmap& target, int stamp,
             const std::function<void(RasterTriangle&)>& setup)
{
    for (OwnedRasterTriangle& t : tris) {
        setup(t.triangle);
        (d.*fill)(t.triangle, target, stamp);
    }
}

// Flat opaque and additive triangles crossing in depth, past every edge.
void sceneFlat(Bitmap& target, NewRenderDriver& d, const Textures&)
{
    const std::uint32_t colours[] = {rgb(200, 40, 40), rgb(40, 200, 40), rgb(40, 40, 200), rgb(200, 200, 40)};
    for (int i = 0; i < 4; ++i) {
        const float a = i * 1.5f;
        OwnedRasterTriangle t = tri({{-12 + 3 * std::cos(a), -8, 10.0f + 4 * i},
                                     {14, 3 * std::sin(a) - 2, 30.0f - 5 * i},
                                     {-2, 11, 14.0f + 2 * i}},
                                    {{0, 0}, {0, 0}, {0, 0}});
        t.triangle.colour = colours[i];
        d.fillFlat(t.triangle, target, 0);
    }
    OwnedRasterTriangle add = tri({{-6, -6, 12}, {8, -4, 12}, {0, 9, 25}}, {{0, 0}, {0, 0}, {0, 0}});
    add.triangle.colour = rgb(90, 90, 140);
    add.triangle.blend = 8;
    d.fillFlat(add.triangle, target, 0);
}

// The textured fill's five blends side by side over flat stripes.
void sceneTextured(Bitmap& target, NewRenderDriver& d, const Textures& tx)
{
    for (int i = 0; i < 6; ++i) {
        const float x = -20.0f + 7 * i;
        OwnedRasterTriangle s = tri({{x, -20, 40}, {x + 3, -20, 40}, {x, 20, 40}}, {{0, 0}, {0, 0}, {0, 0}});
        s.triangle.colour = rgb(i * 40, 255 - i * 40, 128);
        d.fillFlat(s.triangle, target, 0);
    }
    const struct {
        std::uint8_t blend, transparency;
    } kinds[] = {{0, 0}, {8, 0}, {4, 128}, {4, 64}, {4, 200}, {4, 0}};
    for (int i = 0; i < 6; ++i) {
        const float x = -17.0f + 6 * (i % 3) * 1.9f, y = i < 3 ? -9.0f : 3.0f;
        const float p[4][3] = {{x, y + 6, 30}, {x + 9, y + 6, 30}, {x + 9, y - 3, 30}, {x, y - 3, 30}};
        drawAll(d, &NewRenderDriver::fillTextured, quad(p, 300.0f), target, 0, [&](RasterTriangle& t) {
            t.textureA = tx.image.data();
            t.blend = kinds[i].blend;
            t.transparency = kinds[i].transparency;
        });
    }
}

// Environment add, masked texture, bump-mapped environment, gouraud fills.
void sceneSurfaces(Bitmap& target, NewRenderDriver& d, const Textures& tx)
{
    target.fill(rgb(20, 30, 60));
    const float a[4][3] = {{-16, 11, 30}, {-2, 11, 30}, {-2, 0, 24}, {-16, 0, 24}};
    drawAll(d, &NewRenderDriver::fillTextureEnvAdd, quad(a, 256.0f), target, 0, [&](RasterTriangle& t) {
        t.textureA = tx.image.data();
        t.textureB = tx.env.data();
    });
    const float b[4][3] = {{2, 11, 24}, {16, 11, 24}, {16, 0, 30}, {2, 0, 30}};
    drawAll(d, &NewRenderDriver::fillTextureMasked, quad(b, 256.0f), target, 0, [&](RasterTriangle& t) {
        t.textureA = tx.image.data();
        t.textureD = tx.mask.data();
    });
    const float c[4][3] = {{-16, -1, 26}, {-2, -1, 26}, {-2, -12, 26}, {-16, -12, 26}};
    drawAll(d, &NewRenderDriver::fillBumpEnv, quad(c, 256.0f), target, 0, [&](RasterTriangle& t) {
        t.textureB = tx.env.data();
        t.textureC = tx.bump.data();
    });
    const float e[4][3] = {{2, -1, 26}, {16, -1, 26}, {16, -12, 26}, {2, -12, 26}};
    auto tris = quad(e, 256.0f);
    const std::int32_t shades[2][9] = {{255, 0, 40, 0, 255, 40, 40, 40, 255}, {0, 200, 40, 255, 30, 40, 40, 255, 255}};
    for (int i = 0; i < 2; ++i) {
        for (int k = 0; k < 9; ++k)
            tris[i].shades[k] = shades[i][k];
        tris[i].triangle.textureA = tx.image.data();
        tris[i].triangle.colour = rgb(255, 255, 255);
    }
    d.fillGouraudTextured(tris[0].triangle, target, 0);
    d.fillGouraud(tris[1].triangle, target, 0);
}

// A receding floor and wall in perspective, opaque, additive, keyed, and
// without depth.
void scenePerspective(Bitmap& target, NewRenderDriver& d, const Textures& tx)
{
    const float floor[4][3] = {{-30, -6, 120}, {30, -6, 120}, {30, -6, 4}, {-30, -6, 4}};
    drawAll(d, &NewRenderDriver::fillPerspective, quad(floor, 1024.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.image.data(); });
    const float wall[4][3] = {{-12, 10, 20}, {-2, 10, 40}, {-2, -6, 40}, {-12, -6, 20}};
    drawAll(d, &NewRenderDriver::fillPerspectiveKeyed, quad(wall, 256.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.bars.data(); });
    const float glow[4][3] = {{0, 8, 30}, {14, 8, 30}, {14, -4, 50}, {0, -4, 50}};
    drawAll(d, &NewRenderDriver::fillPerspective, quad(glow, 256.0f), target, 0, [&](RasterTriangle& t) {
        t.textureA = tx.env.data();
        t.blend = 8;
    });
    const float sign[4][3] = {{4, 12, 60}, {20, 12, 60}, {20, 2, 90}, {4, 2, 90}};
    drawAll(d, &NewRenderDriver::fillPerspectiveNoDepth, quad(sign, 512.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.image.data(); });
    d.zoom = 2.0f;
    const float small[4][3] = {{-4, 6, 80}, {2, 6, 80}, {2, 2, 80}, {-4, 2, 80}};
    drawAll(d, &NewRenderDriver::fillPerspective, quad(small, 256.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.image.data(); });
}

// A floor into the fog, brightening (depth-tested) and darkening (no depth).
void sceneFog(Bitmap& target, NewRenderDriver& d, const Textures& tx)
{
    d.fogNear = 0.1f;
    d.fogFar = 0.01f;
    d.fogRange = d.fogNear - d.fogFar;
    d.fogColour = rgb(170, 190, 255);
    const float floor[4][3] = {{-40, -6, 150}, {0, -6, 150}, {0, -6, 4}, {-40, -6, 4}};
    drawAll(d, &NewRenderDriver::fillPerspectiveFog, quad(floor, 1024.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.image.data(); });
    d.fogColour = 0;
    const float right[4][3] = {{0, -6, 150}, {40, -6, 150}, {40, -6, 4}, {0, -6, 4}};
    drawAll(d, &NewRenderDriver::fillPerspectiveFogNoDepth, quad(right, 1024.0f), target, 0,
            [&](RasterTriangle& t) { t.textureA = tx.image.data(); });
}

// Sprites over geometry: hidden and shown by their centres, clipped at the
// edges, and a ring that is never hidden.
void sceneSprites(Bitmap& target, NewRenderDriver& d, const Textures&)
{
    Bitmap glow(64, 64), wide(256, 256);
    for (int v = 0; v < 64; ++v)
        for (int u = 0; u < 64; ++u) {
            const int l = std::max(0, 120 - static_cast<int>(std::hypot(u - 32.0, v - 32.0) * 4));
            glow.setPixel(u, v, rgb(l, l / 2, l / 4));
        }
    for (int v = 0; v < 256; ++v)
        for (int u = 0; u < 256; ++u)
            wide.setPixel(u, v, rgb(0, (u ^ v) & 0x3F, 60));
    OwnedRasterTriangle wall = tri({{-30, -30, 20}, {30, -30, 20}, {-30, 30, 20}}, {{0, 0}, {0, 0}, {0, 0}});
    wall.triangle.colour = rgb(60, 20, 20);
    d.fillFlat(wall.triangle, target, 0);
    Sprite s;
    s.image = &wide;
    s.size.set(12, 9, 0);
    s.position.set(8, 3, 30);
    d.drawSprite(s, target, 0);
    s.image = &glow;
    for (int i = 0; i < 24; ++i) {
        const double a = i * 0.2618;
        s.size.set(4, 4, 0);
        s.position.set(11 * std::cos(a), 8 * std::sin(a), 15.0 + i % 3 * 10);
        d.drawSprite(s, target, i % 2 ? 0 : 2000000000);
    }
    s.position.set(-15, 11, 10);
    d.drawSprite(s, target, 2000000000);
    s.position.set(15, -11, 10);
    d.drawSprite(s, target, 2000000000);
}

using Scene = void (*)(Bitmap&, NewRenderDriver&, const Textures&);

const std::map<std::string, Scene>& scenes()
{
    static const std::map<std::string, Scene> all = {
        {"flat", sceneFlat},         {"textured", sceneTextured}, {"surfaces", sceneSurfaces},
        {"perspective", scenePerspective}, {"fog", sceneFog},     {"sprites", sceneSprites},
    };
    return all;
}

TEST(RasterReference, ScenesMatchTheirHashes)
{
    const bool update = reference::updating();
    const reference::HashTable table = reference::readHashes(kReferenceDir);
    const Textures textures;
    reference::HashTable fresh;
    for (const auto& [name, scene] : scenes()) {
        Bitmap target(W, H);
        target.fill(rgb(16, 16, 24));
        NewRenderDriver driver(target);
        scene(target, driver, textures);
        const std::uint32_t hash = rastertest::pixelHash(target);
        fresh[name] = hash;
        if (update) {
            ASSERT_TRUE(writePng(target, kReferenceDir + "/" + name + ".png"));
            continue;
        }
        const auto it = table.find(name);
        ASSERT_NE(it, table.end()) << "no reference hash for " << name;
        EXPECT_EQ(hash, it->second) << "scene " << name << " changed; see the comment at the top of this file";
    }
    if (update)
        reference::writeHashes(kReferenceDir, fresh);
}

} // namespace
} // namespace zov
