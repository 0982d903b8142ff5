#include "tools/datakit/PreviewFrame.h"

#include <algorithm>
#include <cstdlib>

namespace zov::kit {

std::uint32_t addSaturate(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t out = 0;
    for (int s = 0; s < 32; s += 8) {
        const std::uint32_t v = ((a >> s) & 255) + ((b >> s) & 255);
        out |= std::min<std::uint32_t>(v, 255) << s;
    }
    return out;
}

void addAt(const Frame& src, Frame& dest, int x0, int y0)
{
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            if (dest.inside(x0 + x, y0 + y))
                dest.at(x0 + x, y0 + y) = addSaturate(dest.at(x0 + x, y0 + y), src.at(x, y));
}

void maskAt(const Frame& src, Frame& dest, int x0, int y0, const Frame& alpha)
{
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) {
            if (!dest.inside(x0 + x, y0 + y))
                continue;
            const std::uint32_t a = alpha.at(x, y) & 255;
            const std::uint32_t s = src.at(x, y);
            std::uint32_t& d = dest.at(x0 + x, y0 + y);
            std::uint32_t out = 0;
            for (int b = 0; b < 32; b += 8)
                out |= ((((s >> b) & 255) * a + ((d >> b) & 255) * (255 - a)) >> 8) << b;
            d = out;
        }
}

void blitScroll(const Frame& src, Frame& dest, int dx, int dy, int sx, int sy, bool additive)
{
    for (int y = 0; y < dest.height - dy && y < src.height; ++y)
        for (int x = 0; x < dest.width - dx && x < src.width; ++x) {
            const int u = ((sx + x) % src.width + src.width) % src.width;
            const int v = ((sy + y) % src.height + src.height) % src.height;
            std::uint32_t& d = dest.at(dx + x, dy + y);
            d = additive ? addSaturate(d, src.at(u, v)) : src.at(u, v);
        }
}

void blurFour(Frame& f)
{
    std::uint32_t* p = f.pixels.data();
    const int w = f.width;
    for (int y = 1; y < f.height - 1; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            p[i] = ((p[i - w] >> 2) & 0x3f3f3f3f) + ((p[i + w] >> 2) & 0x3f3f3f3f) + ((p[i - 1] >> 2) & 0x3f3f3f3f) +
                   ((p[i + 1] >> 2) & 0x3f3f3f3f);
        }
        p[y * w] = 0;
    }
}

void blurThree(Frame& f)
{
    std::uint32_t* p = f.pixels.data();
    const int w = f.width;
    for (int y = 1; y < f.height - 1; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            p[i] = ((p[i - w] >> 2) & 0x3f3f3f3f) + ((p[i + w] >> 2) & 0x3f3f3f3f) + ((p[i - 1] >> 1) & 0x7f7f7f7f);
        }
        p[y * w] = 0;
    }
}

void addLine(Frame& f, int x0, int y0, int x1, int y1, std::uint32_t colour)
{
    const int dx = x1 - x0, dy = y1 - y0;
    const int sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
    const bool xLong = std::abs(dx) > std::abs(dy);
    const int longLen = xLong ? std::abs(dx) : std::abs(dy);
    const int shortLen = xLong ? std::abs(dy) : std::abs(dx);
    int acc = longLen / 2, x = x0, y = y0;
    for (int i = 0; i <= longLen; ++i) {
        if (f.inside(x, y))
            f.at(x, y) = addSaturate(f.at(x, y), colour);
        acc += shortLen;
        if (acc >= longLen) {
            acc -= longLen;
            x += sx;
            y += sy;
        } else if (xLong) {
            x += sx;
        } else {
            y += sy;
        }
    }
}

} // namespace zov::kit
