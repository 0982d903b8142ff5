// The four backgrounds. Each stays dark where the effects drawn over it add
// light, so those effects keep their contrast.
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Scenery.h"
#include "tools/datakit/Shapes.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

namespace {

constexpr int kW = 512;
constexpr int kH = 384;

float fx(int x) { return static_cast<float>(x) + 0.5f; }

// Under water: light shafts and caustics from above, a sea floor below, and
// a calm dark band through the middle where the scroller runs.
void paintShafts(Canvas& c)
{
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float dx = fx(x) - 300.0f;
            const float dy = fx(y) + 260.0f;
            const float angle = std::atan2(dx, dy);
            const float shaft = std::pow(clamp01(0.5f + 0.5f * fbm2(angle * 9.0f, 0.3f, 4, 21)), 3.0f);
            const float fade = std::exp(-fx(y) / 190.0f);
            c.add(x, y, Rgb{0.25f, 0.55f, 0.75f} * (shaft * fade * 0.55f));
        }
}

float caustic(float x, float y)
{
    // Light focused by the waves: a warped net of cell borders.
    const float wx = x / 46.0f + 0.35f * noise2(x / 70.0f, y / 70.0f, 31);
    const float wy = y / 30.0f + 0.35f * noise2(x / 70.0f + 5.0f, y / 70.0f, 32);
    const float border = cellBorder2(wx, wy, 33);
    const float patches = smoothstep(-0.3f, 0.5f, noise2(x / 90.0f, y / 60.0f, 34));
    return std::pow(1.0f - smoothstep(0.0f, 0.13f, border), 2.0f) * patches;
}

} // namespace

Canvas makeBak1()
{
    Canvas c(kW, kH);
    paintSky(c, hex(0x0E3C62), hex(0x06203C), hex(0x020A18), 170.0f);
    paintShafts(c);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            // The underside of the surface: a bright rippled sheet fading down.
            const float top = std::exp(-fx(y) / 45.0f);
            c.add(x, y, Rgb{0.35f, 0.75f, 0.95f} * (caustic(fx(x), fx(y) * 0.6f) * top * 0.9f + top * 0.12f));
            // Floating specks.
            if (hash2f(x, y, 41) < 0.0025f)
                c.add(x, y, Rgb{0.35f, 0.55f, 0.6f} * hash2f(x, y, 42));
        }
    // Sea floor: dunes with caustics of their own.
    const Mask floor = ridgeLayer(kW, kH, 345.0f, 28.0f, 150.0f, 43);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float a = floor.at(x, y);
            if (a <= 0.0f)
                continue;
            const float depth = clamp01((fx(y) - 320.0f) / 64.0f);
            Rgb sand = mix(hex(0x1C3C4A), hex(0x08161E), depth);
            sand = sand + Rgb{0.3f, 0.6f, 0.65f} * (caustic(fx(x) * 1.3f, fx(y) * 2.5f) * 0.7f * (1.0f - depth));
            c.blend(x, y, sand, a);
        }
    // Kelp strands rising from the floor, far from the centre.
    for (int k = 0; k < 7; ++k) {
        const float baseX = (k < 4 ? 18.0f + 26.0f * static_cast<float>(k) : 400.0f + 30.0f * static_cast<float>(k - 4)) +
                            hash2f(k, 0, 44) * 12.0f;
        const float height = 110.0f + hash2f(k, 1, 44) * 120.0f;
        const Mask strand = maskFromSdf(kW, kH, [&](Vec2 p) {
            const float t = clamp01((384.0f - p.y) / height);
            const float sway = std::sin(t * 5.0f + static_cast<float>(k)) * 12.0f * t;
            const float width = 4.5f * (1.0f - t) + 0.8f;
            const float d = std::fabs(p.x - baseX - sway) - width;
            return p.y < 384.0f - height ? std::max(d, 384.0f - height - p.y) : d;
        });
        paintMask(c, strand, 0, 0, mix(hex(0x051A14), hex(0x0A2A1E), hash2f(k, 2, 44)));
    }
    // Calm band for the scroller.
    for (int y = 0; y < kH; ++y) {
        const float band = std::exp(-std::pow((fx(y) - 192.0f) / 48.0f, 2.0f));
        for (int x = 0; x < kW; ++x)
            c.at(x, y) = c.at(x, y) * (1.0f - 0.45f * band);
    }
    vignette(c, 0.5f);
    return c;
}

// Deep space: nebula clouds brighter towards the rim, a dim glow where the
// tunnel vanishes.
Canvas makeBak2()
{
    Canvas c(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float u = fx(x) / 160.0f;
            const float v = fx(y) / 160.0f;
            // Domain warping turns plain noise into clouds with swirls.
            const float wx = fbm2(u + 1.7f, v + 9.2f, 4, 51);
            const float wy = fbm2(u + 8.3f, v + 2.8f, 4, 52);
            const float n = 0.5f + 0.5f * fbm2(u + 2.0f * wx, v + 2.0f * wy, 6, 53);
            const float dust = ridged2(u * 2.0f + wx, v * 2.0f + wy, 4, 54);
            const float dx = (fx(x) - 256.0f) / 256.0f;
            const float dy = (fx(y) - 192.0f) / 256.0f;
            const float rim = smoothstep(0.05f, 0.9f, std::sqrt(dx * dx + dy * dy));
            const float cloud = std::pow(clamp01(n * 1.15f), 1.8f) * (0.3f + 0.7f * rim) * (0.5f + 0.5f * dust);
            const Rgb tint = mix(hex(0x8A2080), hex(0x1E6A9A), clamp01(0.5f + 1.6f * wx));
            c.at(x, y) = hex(0x030210) + tint * (cloud * 1.25f) + hex(0xE07090) * (std::pow(dust, 6.0f) * cloud * 0.9f);
        }
    addStars(c, 55, 0.004f, 0.9f, 1000.0f);
    addGlow(c, 256.0f, 192.0f, 60.0f, Rgb{0.10f, 0.07f, 0.16f});
    vignette(c, 0.6f);
    return c;
}

// An eclipse on the right, behind the star and the portraits; the left half
// stays dark for the greetings that are added there.
Canvas makeBak3()
{
    Canvas c(kW, kH);
    const float ex = 356.0f, ey = 200.0f, er = 64.0f;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float dx = fx(x) - ex;
            const float dy = fx(y) - ey;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float angle = std::atan2(dy, dx);
            // Sky: dark wine on the left, deep red-violet around the eclipse.
            const float side = smoothstep(140.0f, 330.0f, fx(x));
            Rgb sky = mix(hex(0x0C0508), hex(0x2A0A22), side * (1.0f - smoothstep(60.0f, 300.0f, r) * 0.5f));
            // Corona: streaky, falling off with distance from the rim.
            const float streak = 0.55f + 0.45f * fbm2(angle * 3.0f, r * 0.004f, 5, 61);
            const float out = std::max(r - er, 0.0f);
            const float corona = std::exp(-out / (26.0f * streak + 8.0f)) * streak;
            sky = sky + mix(hex(0xB02818), hex(0xFFD890), std::exp(-out / 14.0f)) * (corona * 0.95f);
            // The moon's disc, with a faint earthshine.
            const float disc = clamp01(er - r + 0.5f);
            sky = mix(sky, hex(0x0A0406) + hex(0x20100C) * (0.5f + 0.5f * fbm2(dx / 20.0f, dy / 20.0f, 3, 62)), disc);
            c.at(x, y) = sky;
        }
    // Diamond ring flare on the rim.
    const float flareAngle = -2.3f;
    addGlow(c, ex + std::cos(flareAngle) * er, ey + std::sin(flareAngle) * er, 7.0f, Rgb{1.0f, 0.95f, 0.8f});
    addGlow(c, ex + std::cos(flareAngle) * er, ey + std::sin(flareAngle) * er, 22.0f, Rgb{0.6f, 0.35f, 0.2f});
    // Faint art-deco rays on the left, low enough to leave room for the added text.
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < 300; ++x) {
            const float a = std::atan2(fx(y) - 420.0f, fx(x) + 60.0f);
            const float ray = std::pow(0.5f + 0.5f * std::cos(a * 60.0f), 8.0f);
            const float fade = (1.0f - smoothstep(120.0f, 300.0f, fx(x)));
            c.add(x, y, hex(0x301018) * (ray * fade * 0.35f));
        }
    addStars(c, 63, 0.0015f, 0.5f, 1000.0f);
    vignette(c, 0.5f);
    return c;
}

// A fir wood at night under a moon; the middle of the sky stays dark for the
// title that slides through and the cube that leaves trails.
Canvas makeBak4()
{
    Canvas c(kW, kH);
    paintSky(c, hex(0x03040E), hex(0x0C1430), hex(0x2A2440), 250.0f);
    addStars(c, 71, 0.006f, 0.8f, 260.0f);
    // Moon with a halo and a few thin clouds lit from it.
    const float mx = 418.0f, my = 72.0f, mr = 22.0f;
    addGlow(c, mx, my, 70.0f, Rgb{0.10f, 0.12f, 0.18f});
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float dx = fx(x) - mx;
            const float dy = fx(y) - my;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float disc = clamp01(mr - r + 0.5f);
            if (disc > 0.0f) {
                const float mare = 0.5f + 0.5f * fbm2(dx / 9.0f, dy / 9.0f, 4, 72);
                c.blend(x, y, mix(hex(0xA8ACB8), hex(0xE8ECF4), smoothstep(0.35f, 0.7f, mare)), disc);
            }
            const float band = std::exp(-std::pow((fx(y) - 110.0f - 20.0f * noise2(fx(x) / 150.0f, 0.0f, 73)) / 14.0f, 2.0f));
            const float cloud = std::pow(clamp01(0.5f + 0.7f * fbm2(fx(x) / 60.0f, fx(y) / 18.0f, 5, 74)), 2.0f) * band;
            const float lit = std::exp(-std::fabs(fx(x) - mx) / 160.0f);
            c.blend(x, y, mix(hex(0x141830), hex(0x6A7090), lit), cloud * 0.8f);
        }
    // Far hills, then three rows of firs, nearer ones darker.
    paintMask(c, ridgeLayer(kW, kH, 262.0f, 40.0f, 110.0f, 75), 0, 0, hex(0x151A34));
    paintMask(c, pineLayer(kW, kH, 292.0f, 26.0f, 48.0f, 17.0f, 76), 0, 0, hex(0x0E1228));
    // Mist between the rows.
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float mist = std::exp(-std::pow((fx(y) - 300.0f) / 22.0f, 2.0f)) *
                               (0.6f + 0.4f * fbm2(fx(x) / 70.0f, fx(y) / 20.0f, 4, 77));
            c.add(x, y, hex(0x1C2240) * (mist * 0.8f));
        }
    paintMask(c, pineLayer(kW, kH, 334.0f, 50.0f, 90.0f, 30.0f, 78), 0, 0, hex(0x080A18));
    // The nearest trees frame the picture at both sides.
    Mask nearTrees = pineLayer(kW, kH, 400.0f, 190.0f, 260.0f, 46.0f, 79);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float side = std::fabs(fx(x) - 256.0f) / 256.0f;
            if (side < 0.62f && fx(y) < 360.0f)
                nearTrees.at(x, y) = 0.0f;
        }
    paintMask(c, nearTrees, 0, 0, hex(0x020308));
    vignette(c, 0.35f);
    return c;
}

} // namespace zov::kit
