// The particle sprite and the two 256x256 textures.
#include "tools/datakit/Lettering.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Shapes.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

Canvas makeParticle()
{
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - 32.0f;
            const float dy = static_cast<float>(y) + 0.5f - 32.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float core = std::exp(-(r * r) / (2.0f * 3.2f * 3.2f));
            const float halo = std::exp(-(r * r) / (2.0f * 9.0f * 9.0f));
            // Sprites are added: the rim must be exactly black.
            const float window = 1.0f - smoothstep(18.0f, 27.0f, r);
            c.at(x, y) = (Rgb{1.0f, 0.96f, 0.86f} * core + Rgb{0.95f, 0.55f, 0.25f} * (halo * 0.55f)) * window;
        }
    return c;
}

namespace {

struct Dir {
    float x, y, z;
};

Dir normalized(Dir d)
{
    const float l = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    return {d.x / l, d.y / l, d.z / l};
}

float dotd(Dir a, Dir b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The world a chrome object reflects: sky, sun, a studio light and a
// chequered floor running to a bright horizon. y is up, z into the scene.
Rgb environment(Dir r)
{
    const Rgb horizon = hex(0xF4E6D0);
    Rgb c;
    if (r.y >= 0.0f) {
        c = mix(horizon, hex(0x1A3C90), std::pow(r.y, 0.45f));
        const float cloud = fbm2(r.x / (r.y + 0.15f) * 1.5f, r.z / (r.y + 0.15f) * 1.5f, 5, 91);
        c = mix(c, hex(0xE0E8F8), clamp01(cloud * 1.2f) * 0.5f * smoothstep(0.02f, 0.3f, r.y));
    } else {
        const float t = -1.0f / std::min(r.y, -1e-3f);
        const float px = r.x * t;
        const float pz = r.z * t;
        const bool odd = (static_cast<int>(std::floor(px * 0.8f)) + static_cast<int>(std::floor(pz * 0.8f))) & 1;
        const Rgb tile = odd ? hex(0x5A2E12) : hex(0x120A06);
        c = mix(tile, horizon * 0.8f, 1.0f - std::exp(-t * 0.06f));
    }
    c = c + horizon * (0.6f * std::exp(-std::fabs(r.y) * 30.0f));
    const Dir sun = normalized({-0.45f, 0.55f, -0.7f});
    const float s = std::max(0.0f, dotd(r, sun));
    c = c + Rgb{1.0f, 0.95f, 0.8f} * (std::pow(s, 600.0f) * 4.0f + std::pow(s, 30.0f) * 0.35f);
    // A cool window light to the right, for a second, softer highlight.
    const Dir window = normalized({0.75f, 0.3f, -0.6f});
    const float w = std::max(0.0f, dotd(r, window));
    c = c + Rgb{0.55f, 0.7f, 1.0f} * (smoothstep(0.965f, 0.985f, w) * 0.7f + std::pow(w, 12.0f) * 0.15f);
    return c;
}

} // namespace

// A sphere map: texel (u, v) holds what a mirror whose normal has x =
// (u - 128) / 127 and y = (v - 128) / 127 reflects towards a viewer looking
// along +z. Row v grows with the normal's y, so the sky is at the bottom.
Canvas makeEnvMap()
{
    Canvas c(256, 256);
    for (int v = 0; v < 256; ++v)
        for (int u = 0; u < 256; ++u) {
            Rgb sum;
            for (int s = 0; s < 4; ++s) {
                float nx = (static_cast<float>(u) + 0.25f + 0.5f * static_cast<float>(s & 1) - 128.0f) / 127.0f;
                float ny = (static_cast<float>(v) + 0.25f + 0.5f * static_cast<float>(s >> 1) - 128.0f) / 127.0f;
                const float rr = nx * nx + ny * ny;
                if (rr > 0.999f) {
                    const float k = std::sqrt(0.999f / rr);
                    nx *= k;
                    ny *= k;
                }
                const float nz = -std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
                // r = d - 2 (d.n) n with d = (0, 0, 1).
                const Dir r = normalized({-2.0f * nz * nx, -2.0f * nz * ny, 1.0f - 2.0f * nz * nz});
                sum = sum + environment(r);
            }
            // Outside the disc no normal points: fade to the horizon there.
            const float du = (static_cast<float>(u) + 0.5f - 128.0f) / 127.0f;
            const float dv = (static_cast<float>(v) + 0.5f - 128.0f) / 127.0f;
            const float outside = smoothstep(1.0f, 1.12f, std::sqrt(du * du + dv * dv));
            c.at(u, v) = mix(sum * 0.25f, hex(0xF4E6D0) * 0.9f, outside);
        }
    return c;
}

Canvas makeCubeFace()
{
    Canvas c(256, 256);
    // Deep blue plate with a fine circuit grid.
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float gx = std::fabs(std::fmod(static_cast<float>(x) + 0.5f, 32.0f) - 16.0f);
            const float gy = std::fabs(std::fmod(static_cast<float>(y) + 0.5f, 32.0f) - 16.0f);
            const float line = smoothstep(14.5f, 15.8f, std::max(gx, gy));
            const float n = 0.5f + 0.5f * fbm2(static_cast<float>(x) / 40.0f, static_cast<float>(y) / 40.0f, 4, 95);
            c.at(x, y) = mix(hex(0x081840), hex(0x14306A), n) + hex(0x2A60A0) * (line * 0.6f);
        }
    // Bevelled golden frame.
    const Mask frame = maskFromSdf(256, 256, [](Vec2 p) {
        const float outer = std::max(std::fabs(p.x - 128.0f), std::fabs(p.y - 128.0f)) - 122.0f;
        const float inner = std::max(std::fabs(p.x - 128.0f), std::fabs(p.y - 128.0f)) - 104.0f;
        return std::max(outer, -inner);
    });
    LetterStyle gold;
    gold.top = hex(0xFFF0B0);
    gold.middle = hex(0xE0A030);
    gold.bottom = hex(0x804010);
    gold.bevelRadius = 4;
    gold.bevel = 0.8f;
    paintLetters(c, frame, 0, 0, 6.0f, 244.0f, gold);
    LetterStyle word;
    word.chrome = true;
    word.top = hex(0x4080E0);
    word.middle = hex(0xF0F8FF);
    word.horizon = hex(0x603010);
    word.bottom = hex(0xFFD080);
    word.bevelRadius = 3;
    word.shadowOffset = 4;
    word.shadowBlur = 3;
    word.shadowStrength = 0.7f;
    drawTextCentred(c, "ZOV", 128, 100, 7.5f, word);
    return c;
}

} // namespace zov::kit
