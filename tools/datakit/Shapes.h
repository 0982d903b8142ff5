#pragma once

#include "tools/datakit/Canvas.h"

#include <cmath>
#include <vector>

namespace zov::kit {

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }

// Signed distances in pixels, negative inside.
float sdCircle(Vec2 p, Vec2 centre, float radius);
// A stroke from a to b whose radius goes from ra to rb.
float sdTaperedSegment(Vec2 p, Vec2 a, Vec2 b, float ra, float rb);
// Axis-aligned ellipse (approximate distance, good near the edge).
float sdEllipse(Vec2 p, Vec2 centre, float rx, float ry);
// Smooth union with a blend width of k pixels.
float smoothUnion(float a, float b, float k);

// Anti-aliased coverage of a signed distance field.
template <class Sdf>
Mask maskFromSdf(int width, int height, Sdf sdf)
{
    Mask m(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float d = sdf(Vec2{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
            m.at(x, y) = d <= -0.5f ? 1.0f : (d >= 0.5f ? 0.0f : 0.5f - d);
        }
    return m;
}

// Even-odd coverage of a polygon, 4x4 samples per pixel.
Mask fillPolygon(int width, int height, const std::vector<Vec2>& points);

// Paints a flat colour through a coverage mask.
void paintMask(Canvas& canvas, const Mask& mask, int x, int y, Rgb colour, float opacity = 1.0f);
// Adds a colour through a coverage mask.
void addMask(Canvas& canvas, const Mask& mask, int x, int y, Rgb colour);

} // namespace zov::kit
