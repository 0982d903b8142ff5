#include "tools/datakit/Scenery.h"

#include "tools/datakit/Noise.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

void paintSky(Canvas& canvas, Rgb top, Rgb middle, Rgb bottom, float midY)
{
    const float h = static_cast<float>(canvas.height());
    for (int y = 0; y < canvas.height(); ++y) {
        const float fy = static_cast<float>(y) + 0.5f;
        const Rgb c = fy < midY ? mix(top, middle, smoothstep(0.0f, midY, fy))
                                : mix(middle, bottom, smoothstep(midY, h, fy));
        for (int x = 0; x < canvas.width(); ++x)
            canvas.at(x, y) = c;
    }
}

void addStars(Canvas& canvas, std::uint32_t seed, float density, float brightness, float fadeY)
{
    for (int y = 0; y < canvas.height(); ++y) {
        const float fade = 1.0f - smoothstep(fadeY * 0.6f, fadeY, static_cast<float>(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (hash2f(x, y, seed) >= density * fade)
                continue;
            const float v = hash2f(x, y, seed + 1);
            const float b = brightness * (0.25f + 0.75f * v * v * v);
            const float tint = hash2f(x, y, seed + 2);
            const Rgb c = tint < 0.3f ? Rgb{1.0f, 0.85f, 0.7f} : (tint > 0.8f ? Rgb{0.7f, 0.8f, 1.0f} : Rgb{1, 1, 1});
            canvas.add(x, y, c * b);
            // The brightest few get a small cross.
            if (v > 0.93f) {
                for (int d = 1; d <= 2; ++d) {
                    const float k = b * (d == 1 ? 0.45f : 0.15f);
                    canvas.add(x + d, y, c * k);
                    canvas.add(x - d, y, c * k);
                    canvas.add(x, y + d, c * k);
                    canvas.add(x, y - d, c * k);
                }
            }
        }
    }
}

Mask pineLayer(int width, int height, float baseY, float minHeight, float maxHeight, float spacing,
               std::uint32_t seed)
{
    Mask m(width, height);
    const int count = static_cast<int>(static_cast<float>(width) / spacing) + 3;
    for (int i = -1; i < count; ++i) {
        const float cx = (static_cast<float>(i) + hash2f(i, 0, seed)) * spacing;
        const float h = lerp(minHeight, maxHeight, hash2f(i, 1, seed));
        const float foot = baseY + hash2f(i, 2, seed) * spacing * 0.3f;
        const float top = foot - h;
        const float halfBase = h * lerp(0.17f, 0.24f, hash2f(i, 3, seed));
        const float tiers = std::floor(lerp(5.0f, 8.0f, hash2f(i, 4, seed)));
        const int y0 = std::max(0, static_cast<int>(top));
        const int y1 = std::min(height - 1, static_cast<int>(foot) + 1);
        for (int y = y0; y <= y1; ++y) {
            const float t = (static_cast<float>(y) + 0.5f - top) / h;
            if (t < 0.0f)
                continue;
            const float tier = t * tiers - std::floor(t * tiers);
            float half = halfBase * (0.06f + 0.94f * t) * (0.55f + 0.45f * tier);
            // Ragged branch ends.
            half *= 1.0f + 0.18f * noise2(static_cast<float>(y) * 0.35f, static_cast<float>(i) * 7.3f, seed + 9);
            if (t > 0.93f)
                half = std::max(halfBase * 0.07f, 0.9f);
            const int xa = std::max(0, static_cast<int>(cx - half - 2.0f));
            const int xb = std::min(width - 1, static_cast<int>(cx + half + 2.0f));
            for (int x = xa; x <= xb; ++x) {
                const float d = std::fabs(static_cast<float>(x) + 0.5f - cx);
                const float cover = clamp01(half - d + 0.5f);
                m.at(x, y) = std::max(m.at(x, y), cover);
            }
        }
    }
    // Ground under the trees.
    for (int y = static_cast<int>(baseY + spacing * 0.15f); y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (y >= 0)
                m.at(x, y) = 1.0f;
    return m;
}

Mask ridgeLayer(int width, int height, float y, float amplitude, float scale, std::uint32_t seed)
{
    Mask m(width, height);
    for (int x = 0; x < width; ++x) {
        const float fx = static_cast<float>(x) / scale;
        const float line = y - amplitude * (0.6f * ridged2(fx, 0.5f, 5, seed) + 0.4f * fbm2(fx * 0.5f, 3.1f, 3, seed + 5));
        for (int row = 0; row < height; ++row)
            m.at(x, row) = clamp01(static_cast<float>(row) + 0.5f - line);
    }
    return m;
}

void addGlow(Canvas& canvas, float cx, float cy, float radius, Rgb colour)
{
    const int x0 = std::max(0, static_cast<int>(cx - radius * 3.0f));
    const int x1 = std::min(canvas.width() - 1, static_cast<int>(cx + radius * 3.0f));
    const int y0 = std::max(0, static_cast<int>(cy - radius * 3.0f));
    const int y1 = std::min(canvas.height() - 1, static_cast<int>(cy + radius * 3.0f));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / radius;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / radius;
            const float r2 = dx * dx + dy * dy;
            canvas.add(x, y, colour * (std::exp(-r2) * (1.0f - smoothstep(6.0f, 9.0f, r2))));
        }
}

void vignette(Canvas& canvas, float strength)
{
    const float cx = static_cast<float>(canvas.width()) * 0.5f;
    const float cy = static_cast<float>(canvas.height()) * 0.5f;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / cx;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / cy;
            const float k = 1.0f - strength * smoothstep(0.3f, 1.6f, dx * dx + dy * dy);
            canvas.at(x, y) = canvas.at(x, y) * k;
        }
}

} // namespace zov::kit
