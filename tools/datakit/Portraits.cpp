// Three portraits of one sculpted head, each lit from another side, so that
// cycling through them sweeps the light around the face.
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

namespace {

constexpr int kW = 178;
constexpr int kH = 169;

struct V3 {
    float x, y, z;
};

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float dot3(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float len3(V3 a) { return std::sqrt(dot3(a, a)); }
V3 norm3(V3 a) { return a * (1.0f / len3(a)); }

float sdEllipsoid(V3 p, V3 c, V3 r)
{
    const V3 q{(p.x - c.x) / r.x, (p.y - c.y) / r.y, (p.z - c.z) / r.z};
    const V3 q2{q.x / r.x, q.y / r.y, q.z / r.z};
    const float k0 = len3(q);
    const float k1 = len3(q2);
    return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min({r.x, r.y, r.z});
}

float sdCapsule(V3 p, V3 a, V3 b, float ra, float rb)
{
    const V3 pa = p - a;
    const V3 ba = b - a;
    const float t = std::clamp(dot3(pa, ba) / dot3(ba, ba), 0.0f, 1.0f);
    return len3(pa - ba * t) - (ra + (rb - ra) * t);
}

float smin(float a, float b, float k)
{
    const float h = std::clamp(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return b + (a - b) * h - k * h * (1.0f - h);
}

float smax(float a, float b, float k) { return -smin(-a, -b, k); }

enum class Material { Skin, Hair, Cloth, Eye };

const V3 kEyeCentre{0.22f, 0.3f, 0.49f};
const V3 kEyeRadii{0.1f, 0.075f, 0.1f};

float head(V3 p, V3 m)
{
    float d = sdEllipsoid(p, {0.0f, 0.5f, -0.08f}, {0.7f, 0.78f, 0.8f});
    d = smin(d, sdEllipsoid(p, {0.0f, 0.08f, 0.1f}, {0.52f, 0.66f, 0.58f}), 0.25f);
    d = smin(d, sdEllipsoid(p, {0.0f, -0.42f, 0.28f}, {0.22f, 0.17f, 0.2f}), 0.16f);
    // Cheekbones and brow.
    d = smin(d, sdEllipsoid(m, {0.33f, 0.14f, 0.36f}, {0.19f, 0.13f, 0.18f}), 0.12f);
    d = smin(d, sdCapsule(m, {0.05f, 0.46f, 0.57f}, {0.36f, 0.47f, 0.5f}, 0.075f, 0.06f), 0.1f);
    // Eye sockets with the eyes set in them.
    d = smax(d, -sdEllipsoid(m, {0.22f, 0.3f, 0.62f}, {0.14f, 0.085f, 0.11f}), 0.06f);
    d = std::min(d, sdEllipsoid(m, kEyeCentre, kEyeRadii));
    // Nose, lips and the line between them, ears.
    d = smin(d, sdCapsule(p, {0.0f, 0.38f, 0.62f}, {0.0f, 0.06f, 0.8f}, 0.05f, 0.09f), 0.08f);
    d = smin(d, sdEllipsoid(p, {0.0f, -0.14f, 0.62f}, {0.17f, 0.055f, 0.08f}), 0.05f);
    d = smax(d, -sdEllipsoid(p, {0.0f, -0.18f, 0.71f}, {0.15f, 0.012f, 0.08f}), 0.02f);
    d = smin(d, sdEllipsoid(m, {0.69f, 0.28f, -0.06f}, {0.07f, 0.2f, 0.13f}), 0.06f);
    return d;
}

// Swept-back hair: a shell over the crown cut off above the brow, with a
// ridge of strands.
float hair(V3 p)
{
    float d = sdEllipsoid(p, {0.0f, 0.56f, -0.12f}, {0.76f, 0.82f, 0.86f});
    const float hairline = p.y - (0.8f - 0.75f * std::clamp((0.3f - p.z) / 0.9f, 0.0f, 1.0f));
    d = smax(d, -hairline, 0.06f);
    d = smin(d, sdCapsule(p, {0.0f, 1.22f, 0.2f}, {0.0f, 0.85f, -0.95f}, 0.22f, 0.1f), 0.3f);
    const float strands = std::sin(p.x * 38.0f + p.z * 6.0f) * 0.008f;
    return d + strands;
}

float clothes(V3 p)
{
    // Sloping shoulders over a chest.
    float d = sdCapsule({std::fabs(p.x), p.y, p.z}, {0.0f, -1.32f, -0.15f}, {0.95f, -1.62f, -0.18f}, 0.36f, 0.4f);
    d = smin(d, sdEllipsoid(p, {0.0f, -2.05f, -0.12f}, {1.25f, 0.8f, 0.6f}), 0.3f);
    // A high collar round the neck.
    const float ring = std::fabs(std::sqrt(p.x * p.x + (p.z + 0.08f) * (p.z + 0.08f)) - 0.42f) - 0.05f;
    d = smin(d, std::max(ring, std::fabs(p.y + 1.08f) - 0.2f), 0.12f);
    return d;
}

float neck(V3 p) { return sdCapsule(p, {0.0f, -0.3f, -0.1f}, {0.0f, -1.3f, -0.1f}, 0.28f, 0.36f); }

// The bust: x right, y up, z towards the viewer; the head about 1.4 units wide.
float bust(V3 p)
{
    const V3 m{std::fabs(p.x), p.y, p.z};
    float d = smin(head(p, m), neck(p), 0.2f);
    d = smin(d, hair(p), 0.04f);
    return std::min(d, clothes(p));
}

Material materialAt(V3 p)
{
    const V3 m{std::fabs(p.x), p.y, p.z};
    const float skin = smin(head(p, m), neck(p), 0.2f);
    const float h = hair(p);
    const float c = clothes(p);
    if (c < skin && c < h)
        return Material::Cloth;
    if (sdEllipsoid(m, kEyeCentre, kEyeRadii) < 0.004f)
        return Material::Eye;
    return h < skin + 0.004f ? Material::Hair : Material::Skin;
}

V3 normalAt(V3 p)
{
    const float e = 0.002f;
    return norm3({bust({p.x + e, p.y, p.z}) - bust({p.x - e, p.y, p.z}),
                  bust({p.x, p.y + e, p.z}) - bust({p.x, p.y - e, p.z}),
                  bust({p.x, p.y, p.z + e}) - bust({p.x, p.y, p.z - e})});
}

// Distance along the ray to the surface, or a negative value for a miss.
float march(V3 origin, V3 dir)
{
    float t = 3.0f;
    for (int i = 0; i < 160 && t < 10.0f; ++i) {
        const float d = bust(origin + dir * t);
        if (d < 0.0005f)
            return t;
        t += d * 0.8f;
    }
    return -1.0f;
}

float occlusion(V3 p, V3 n)
{
    float occ = 0.0f;
    for (int i = 1; i <= 5; ++i) {
        const float h = 0.04f * static_cast<float>(i);
        occ += (h - bust(p + n * h)) / static_cast<float>(i);
    }
    return std::clamp(1.0f - 2.5f * occ, 0.0f, 1.0f);
}

struct Lighting {
    V3 key;
    Rgb rim;
    Rgb cloth;
};

Lighting lightingFor(int k)
{
    // The key light swings from the left through the front to the right.
    const float angle = -0.85f + 0.85f * static_cast<float>(k);
    static const std::uint32_t kRims[3] = {0xFF4AC8, 0x40D8FF, 0xFFC040};
    static const std::uint32_t kCloth[3] = {0x5A1848, 0x183C5A, 0x5A4018};
    return {norm3({std::sin(angle), 0.5f, std::cos(angle)}), hex(kRims[k % 3]), hex(kCloth[k % 3])};
}

// Two soft steps of light: a stylised, poster-like shading.
float bands(float x) { return 0.15f + 0.5f * smoothstep(0.05f, 0.15f, x) + 0.35f * smoothstep(0.4f, 0.5f, x); }

Rgb shade(V3 p, V3 n, V3 view, const Lighting& l)
{
    const float diffuse = bands(std::max(0.0f, dot3(n, l.key)));
    const V3 h = norm3(l.key + view);
    const float highlight = smoothstep(0.8f, 0.97f, std::pow(std::max(0.0f, dot3(n, h)), 90.0f));
    const float rim = smoothstep(0.45f, 0.75f, 1.0f - std::max(0.0f, dot3(n, view)));
    const float ao = occlusion(p, n);
    Rgb base;
    float shine = 0.12f;
    switch (materialAt(p)) {
    case Material::Skin:
        base = hex(0xD8A488);
        break;
    case Material::Hair:
        base = mix(hex(0x141020), hex(0x302848), 0.5f + 0.5f * std::sin(p.x * 38.0f + p.z * 6.0f));
        break;
    case Material::Cloth:
        base = l.cloth;
        shine = 0.0f;
        break;
    case Material::Eye: {
        // Iris and pupil where the eye's own axis meets the surface.
        const V3 q{std::fabs(p.x) - kEyeCentre.x, p.y - kEyeCentre.y, p.z - kEyeCentre.z};
        const float off = std::sqrt(q.x * q.x + q.y * q.y) / kEyeRadii.x;
        base = off < 0.32f ? hex(0x080408) : (off < 0.62f ? l.rim * 0.6f : hex(0xE8E0E0));
        shine = 1.0f;
        break;
    }
    }
    // Shadows take a cool violet: the umbra the portraits are named for.
    const Rgb shadowTint = hex(0x302850);
    const Rgb lit = mix(base * shadowTint * 2.0f, base, diffuse);
    return lit * (0.55f + 0.45f * ao) + Rgb{1.0f, 0.95f, 0.9f} * (highlight * shine) + l.rim * (rim * 0.8f * ao);
}

} // namespace

Portrait makePortrait(int k)
{
    Portrait out{Canvas(kW, kH), Canvas(kW, kH)};
    const Lighting light = lightingFor(k);
    const V3 eye{0.0f, 0.05f, 6.5f};
    const float focal = 0.3f; // view-plane half height at distance 1
    constexpr int kSub = 2;
    Mask cover(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            Rgb sum;
            float hits = 0.0f;
            for (int s = 0; s < kSub * kSub; ++s) {
                const float px = static_cast<float>(x) + (static_cast<float>(s % kSub) + 0.5f) / kSub;
                const float py = static_cast<float>(y) + (static_cast<float>(s / kSub) + 0.5f) / kSub;
                const float u = (px - kW * 0.5f) / (kH * 0.5f) * focal;
                const float v = -(py - kH * 0.5f) / (kH * 0.5f) * focal - 0.06f;
                const V3 dir = norm3({u, v, -1.0f});
                const float t = march(eye, dir);
                if (t < 0.0f)
                    continue;
                const V3 p = eye + dir * t;
                sum = sum + shade(p, normalAt(p), dir * -1.0f, light);
                hits += 1.0f;
            }
            cover.at(x, y) = hits / (kSub * kSub);
            // Background pixels take the dark of the rim so soft mask edges
            // blend into shadow, not into a halo.
            out.picture.at(x, y) = hits > 0.0f ? sum * (1.0f / hits) : hex(0x0A0608);
        }
    const Mask soft = cover.blurred(1);
    for (int y = 0; y < kH; ++y) {
        // The shoulders dissolve into whatever lies below the portrait.
        const float fade = 1.0f - smoothstep(110.0f, 166.0f, static_cast<float>(y));
        for (int x = 0; x < kW; ++x) {
            const float a = clamp01(std::min(cover.at(x, y), soft.at(x, y) * 1.3f)) * fade;
            out.mask.at(x, y) = Rgb{a, a, a};
        }
    }
    return out;
}

} // namespace zov::kit
