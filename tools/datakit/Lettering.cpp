#include "tools/datakit/Lettering.h"

#include "tools/datakit/Font8x8.h"
#include "tools/datakit/Noise.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

namespace {

constexpr int kSpaceUnits = 4;

struct Grid {
    int width;
    int height;
    std::vector<std::uint8_t> cells;

    Grid(int w, int h) : width(w), height(h), cells(static_cast<std::size_t>(w) * h, 0) {}
    std::uint8_t get(int x, int y) const
    {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
        return cells[static_cast<std::size_t>(y) * width + x];
    }
    void set(int x, int y, std::uint8_t v) { cells[static_cast<std::size_t>(y) * width + x] = v; }
};

int advanceOf(int c)
{
    if (glyphInkRight(c) < 0)
        return kSpaceUnits;
    return glyphInkRight(c) - glyphInkLeft(c) + 2;
}

// The text at one cell per font pixel, with a border of `border` cells.
Grid layoutGrid(std::string_view text, int border)
{
    Grid g(textWidthUnits(text) + 2 * border, 8 + 2 * border);
    int pen = border;
    for (char ch : text) {
        const int c = static_cast<unsigned char>(ch);
        const int left = glyphInkLeft(c);
        for (int y = 0; y < 8; ++y)
            for (int x = left; x <= glyphInkRight(c); ++x)
                if (glyphPixel(c, x, y))
                    g.set(pen + x - left, border + y, 1);
        pen += advanceOf(c);
    }
    return g;
}

// EPX / Scale2x: doubles the grid and rounds off staircases.
Grid scale2x(const Grid& src)
{
    Grid out(src.width * 2, src.height * 2);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const std::uint8_t p = src.get(x, y);
            const std::uint8_t a = src.get(x, y - 1);
            const std::uint8_t b = src.get(x + 1, y);
            const std::uint8_t c = src.get(x - 1, y);
            const std::uint8_t d = src.get(x, y + 1);
            std::uint8_t e0 = p, e1 = p, e2 = p, e3 = p;
            if (a != d && c != b) {
                e0 = c == a ? c : p;
                e1 = a == b ? b : p;
                e2 = c == d ? c : p;
                e3 = d == b ? b : p;
            }
            out.set(2 * x, 2 * y, e0);
            out.set(2 * x + 1, 2 * y, e1);
            out.set(2 * x, 2 * y + 1, e2);
            out.set(2 * x + 1, 2 * y + 1, e3);
        }
    }
    return out;
}

} // namespace

int textWidthUnits(std::string_view text)
{
    int units = 0;
    for (char ch : text)
        units += advanceOf(static_cast<unsigned char>(ch));
    // The last glyph's spacing column is not part of the text.
    if (!text.empty() && glyphInkRight(static_cast<unsigned char>(text.back())) >= 0)
        units -= 1;
    return std::max(units, 0);
}

Mask renderText(std::string_view text, float scale, int pad)
{
    constexpr int kBorder = 1;
    constexpr int kUp = 8; // three doublings
    const Grid fine = scale2x(scale2x(scale2x(layoutGrid(text, kBorder))));
    const int w = static_cast<int>(std::ceil(static_cast<float>(textWidthUnits(text)) * scale)) + 2 * pad;
    const int h = static_cast<int>(std::ceil(8.0f * scale)) + 2 * pad;
    Mask m(w, h);
    constexpr int kSamples = 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                const float v = (static_cast<float>(y - pad) + (static_cast<float>(sy) + 0.5f) / kSamples) / scale;
                const int gy = static_cast<int>(std::floor((v + kBorder) * kUp));
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float u =
                        (static_cast<float>(x - pad) + (static_cast<float>(sx) + 0.5f) / kSamples) / scale;
                    const int gx = static_cast<int>(std::floor((u + kBorder) * kUp));
                    if (gx >= 0 && gy >= 0 && gx < fine.width && gy < fine.height)
                        hits += fine.get(gx, gy);
                }
            }
            m.at(x, y) = static_cast<float>(hits) / (kSamples * kSamples);
        }
    }
    return m;
}

Mask renderBlockText(std::string_view text, int scale, int pad)
{
    const Grid g = layoutGrid(text, 0);
    Mask m(g.width * scale + 2 * pad, g.height * scale + 2 * pad);
    for (int y = 0; y < g.height * scale; ++y)
        for (int x = 0; x < g.width * scale; ++x)
            m.at(x + pad, y + pad) = g.get(x / scale, y / scale);
    return m;
}

namespace {

Rgb rampAt(const LetterStyle& s, float t)
{
    t = clamp01(t);
    if (s.chrome) {
        if (t < 0.5f)
            return mix(s.top, s.middle, t / 0.5f);
        return mix(s.horizon, s.bottom, (t - 0.5f) / 0.5f);
    }
    if (t < 0.5f)
        return mix(s.top, s.middle, t / 0.5f);
    return mix(s.middle, s.bottom, (t - 0.5f) / 0.5f);
}

// Dilation by `r` pixels of a coverage mask: blurred and pushed back up.
Mask grown(const Mask& m, int r)
{
    Mask g = m.blurred(r);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            g.at(x, y) = clamp01(g.at(x, y) * 3.0f);
    g.unite(m);
    return g;
}

void paintShadowAndGlow(Canvas& canvas, const Mask& mask, int x0, int y0, const LetterStyle& s)
{
    if (s.shadowStrength > 0.0f) {
        const Mask sh = mask.blurred(s.shadowBlur);
        for (int y = 0; y < sh.height(); ++y)
            for (int x = 0; x < sh.width(); ++x)
                canvas.blend(x0 + x + s.shadowOffset, y0 + y + s.shadowOffset, Rgb{},
                             sh.at(x, y) * s.shadowStrength);
    }
    if (s.glowStrength > 0.0f) {
        const Mask gl = mask.blurred(s.glowRadius);
        for (int y = 0; y < gl.height(); ++y)
            for (int x = 0; x < gl.width(); ++x)
                canvas.add(x0 + x, y0 + y, s.glow * (gl.at(x, y) * s.glowStrength));
    }
    if (s.outlineWidth > 0) {
        const Mask ol = grown(mask, s.outlineWidth);
        for (int y = 0; y < ol.height(); ++y)
            for (int x = 0; x < ol.width(); ++x)
                canvas.blend(x0 + x, y0 + y, s.outline, ol.at(x, y));
    }
}

} // namespace

void paintLetters(Canvas& canvas, const Mask& mask, int x0, int y0, float capTop, float capHeight,
                  const LetterStyle& s)
{
    paintShadowAndGlow(canvas, mask, x0, y0, s);
    const Mask height = mask.blurred(s.bevelRadius);
    // Light from the upper left, viewer straight ahead.
    const float lx = -0.45f, ly = -0.6f, lz = 0.66f;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const float a = mask.at(x, y);
            if (a <= 0.0f)
                continue;
            const float gx = (height.get(x + 1, y) - height.get(x - 1, y)) * 0.5f;
            const float gy = (height.get(x, y + 1) - height.get(x, y - 1)) * 0.5f;
            const float k = 2.5f * static_cast<float>(std::max(s.bevelRadius, 1));
            float nx = -gx * k, ny = -gy * k, nz = 1.0f;
            const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= len;
            ny /= len;
            nz /= len;
            const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            // Half-vector highlight.
            const float hx = lx, hy = ly, hz = lz + 1.0f;
            const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
            const float highlight = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl), 24.0f);
            const Rgb base = rampAt(s, (static_cast<float>(y) + 0.5f - capTop) / capHeight);
            const float shade = (1.0f - s.bevel) + s.bevel * diffuse / lz;
            const Rgb c = base * shade + Rgb{1.0f, 1.0f, 1.0f} * (highlight * s.specular);
            canvas.blend(x0 + x, y0 + y, c, a);
        }
    }
}

int drawText(Canvas& canvas, std::string_view text, int x, int y, float scale, const LetterStyle& style)
{
    const int pad = std::max({style.outlineWidth * 2, style.glowRadius * 2, style.shadowOffset + style.shadowBlur * 2, 2});
    const Mask m = renderText(text, scale, pad);
    paintLetters(canvas, m, x - pad, y - pad, static_cast<float>(pad), 7.0f * scale, style);
    return m.width() - 2 * pad;
}

void drawTextCentred(Canvas& canvas, std::string_view text, int cx, int y, float scale, const LetterStyle& style)
{
    const int w = static_cast<int>(std::ceil(static_cast<float>(textWidthUnits(text)) * scale));
    drawText(canvas, text, cx - w / 2, y, scale, style);
}

} // namespace zov::kit
