#include "tools/datakit/Objects.h"

#include <cmath>

namespace zov::kit {

namespace {

using P3 = std::array<float, 3>;

P3 sub(const P3& a, const P3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

P3 cross(const P3& a, const P3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Adds triangle (a, b, c), turned round if needed so that its normal points
// away from the object's centre (both the star and the cube are star-shaped
// about the origin).
void addTriangle(LwoObject& o, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t surface)
{
    const P3& pa = o.points[a];
    const P3& pb = o.points[b];
    const P3& pc = o.points[c];
    const P3 n = cross(sub(pb, pa), sub(pc, pb));
    const P3 centroid{(pa[0] + pb[0] + pc[0]) / 3.0f, (pa[1] + pb[1] + pc[1]) / 3.0f, (pa[2] + pb[2] + pc[2]) / 3.0f};
    const float out = n[0] * centroid[0] + n[1] * centroid[1] + n[2] * centroid[2];
    if (out >= 0.0f)
        o.polygons.push_back({{a, b, c}, surface});
    else
        o.polygons.push_back({{a, c, b}, surface});
}

} // namespace

LwoObject makeStar()
{
    constexpr int kArms = 5;
    constexpr int kEdgeSteps = 3;   // points along each outline edge
    constexpr int kRings = 5;       // latitude rings between the two apexes
    constexpr float kOuter = 1.6f;  // tip radius
    constexpr float kInner = 0.68f; // radius between the arms
    constexpr float kHalfThickness = 0.55f;
    constexpr float kPi = 3.14159265358979f;

    // The flat star outline, starting at the upper tip.
    std::vector<std::array<float, 2>> outline;
    for (int corner = 0; corner < 2 * kArms; ++corner) {
        const float a0 = kPi / 2.0f + kPi * static_cast<float>(corner) / kArms;
        const float a1 = kPi / 2.0f + kPi * static_cast<float>(corner + 1) / kArms;
        const float r0 = corner % 2 == 0 ? kOuter : kInner;
        const float r1 = corner % 2 == 0 ? kInner : kOuter;
        for (int s = 0; s < kEdgeSteps; ++s) {
            const float t = static_cast<float>(s) / kEdgeSteps;
            outline.push_back({r0 * std::cos(a0) + (r1 * std::cos(a1) - r0 * std::cos(a0)) * t,
                               r0 * std::sin(a0) + (r1 * std::sin(a1) - r0 * std::sin(a0)) * t});
        }
    }
    const int n = static_cast<int>(outline.size());

    LwoObject o;
    // Rings from back (+z) to front (-z); a ring's outline shrinks with the
    // cosine of its latitude, so the star swells in the middle.
    for (int j = 0; j < kRings; ++j) {
        const float phi = -kPi / 2.0f + kPi * static_cast<float>(j + 1) / (kRings + 1);
        const float k = std::pow(std::cos(phi), 0.8f);
        for (const auto& q : outline)
            o.points.push_back({q[0] * k, q[1] * k, -kHalfThickness * std::sin(phi)});
    }
    const auto back = static_cast<std::uint16_t>(o.points.size());
    o.points.push_back({0.0f, 0.0f, kHalfThickness});
    const auto front = static_cast<std::uint16_t>(o.points.size());
    o.points.push_back({0.0f, 0.0f, -kHalfThickness});

    o.surfaces.push_back({"Star", 0xD8D8E0, std::nullopt});
    auto at = [n](int i, int j) { return static_cast<std::uint16_t>(j * n + (i % n)); };
    for (int i = 0; i < n; ++i) {
        addTriangle(o, back, at(i, 0), at(i + 1, 0), 1);
        for (int j = 0; j + 1 < kRings; ++j) {
            addTriangle(o, at(i, j), at(i, j + 1), at(i + 1, j + 1), 1);
            addTriangle(o, at(i, j), at(i + 1, j + 1), at(i + 1, j), 1);
        }
        addTriangle(o, front, at(i + 1, kRings - 1), at(i, kRings - 1), 1);
    }
    return o;
}

LwoObject makeCube()
{
    constexpr float h = 4.0f;
    LwoObject o;
    for (int i = 0; i < 8; ++i)
        o.points.push_back({(i & 1) ? h : -h, (i & 2) ? h : -h, (i & 4) ? h : -h});

    LwoTexture front;
    front.type = "Planar Image Map";
    front.flags = 4; // along z
    front.size = {2.0f * h, 2.0f * h, 2.0f * h};
    front.image = kCubeFaceImage;
    // Seen from behind, x runs the other way: a negative width keeps the
    // back face's emblem readable.
    LwoTexture back = front;
    back.size[0] = -2.0f * h;

    o.surfaces = {
        // Mid-bright colours: the cube is added onto the night sky with its
        // trails, where full colours would flatten into one glare.
        {"KubFront", 0xFFFFFF, front}, {"KubBack", 0xFFFFFF, back}, {"KubLeft", 0xC02C70, std::nullopt},
        {"KubRight", 0xD07018, std::nullopt}, {"KubTop", 0x2088C0, std::nullopt}, {"KubBottom", 0x6840C0, std::nullopt},
    };
    // Corner indices of each face and its surface number.
    const struct {
        std::uint16_t a, b, c, d, surface;
    } faces[] = {
        {0, 1, 3, 2, 1}, // z = -h, towards the camera
        {4, 5, 7, 6, 2}, // z = +h
        {0, 2, 6, 4, 3}, // x = -h
        {1, 3, 7, 5, 4}, // x = +h
        {2, 3, 7, 6, 5}, // y = +h
        {0, 1, 5, 4, 6}, // y = -h
    };
    for (const auto& f : faces) {
        addTriangle(o, f.a, f.b, f.c, f.surface);
        addTriangle(o, f.a, f.c, f.d, f.surface);
    }
    return o;
}

} // namespace zov::kit
