#include "tools/datakit/Shapes.h"

#include <algorithm>

namespace zov::kit {

float sdCircle(Vec2 p, Vec2 centre, float radius) { return length(p - centre) - radius; }

float sdTaperedSegment(Vec2 p, Vec2 a, Vec2 b, float ra, float rb)
{
    const Vec2 pa = p - a;
    const Vec2 ba = b - a;
    const float len2 = dot(ba, ba);
    const float t = len2 > 0.0f ? std::clamp(dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
    return length(pa - ba * t) - (ra + (rb - ra) * t);
}

float sdEllipse(Vec2 p, Vec2 centre, float rx, float ry)
{
    const Vec2 q{(p.x - centre.x) / rx, (p.y - centre.y) / ry};
    const float k = length(q);
    if (k == 0.0f)
        return -std::min(rx, ry);
    // First-order distance: (|q| - 1) over the gradient's length.
    const Vec2 g{q.x / (rx * k), q.y / (ry * k)};
    return (k - 1.0f) / std::max(length(g), 1e-6f);
}

float smoothUnion(float a, float b, float k)
{
    const float h = std::clamp(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return b + (a - b) * h - k * h * (1.0f - h);
}

Mask fillPolygon(int width, int height, const std::vector<Vec2>& points)
{
    Mask m(width, height);
    if (points.size() < 3)
        return m;
    constexpr int kSamples = 4;
    std::vector<float> crossings;
    // Scanline per sample row: collect edge crossings, fill between pairs.
    for (int y = 0; y < height; ++y) {
        for (int sy = 0; sy < kSamples; ++sy) {
            const float fy = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples;
            crossings.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Vec2 a = points[i];
                const Vec2 b = points[(i + 1) % points.size()];
                if ((a.y <= fy) != (b.y <= fy))
                    crossings.push_back(a.x + (fy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                // Sample sx lies at (sx + 0.5) / kSamples.
                const int first = std::max(0, static_cast<int>(std::ceil(crossings[i] * kSamples - 0.5f)));
                const int end = std::min(width * kSamples, static_cast<int>(std::ceil(crossings[i + 1] * kSamples - 0.5f)));
                for (int sx = first; sx < end; ++sx)
                    m.at(sx / kSamples, y) += 1.0f / (kSamples * kSamples);
            }
        }
    }
    return m;
}

void paintMask(Canvas& canvas, const Mask& mask, int x0, int y0, Rgb colour, float opacity)
{
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            canvas.blend(x0 + x, y0 + y, colour, mask.at(x, y) * opacity);
}

void addMask(Canvas& canvas, const Mask& mask, int x0, int y0, Rgb colour)
{
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.at(x, y) > 0.0f)
                canvas.add(x0 + x, y0 + y, colour * mask.at(x, y));
}

} // namespace zov::kit
