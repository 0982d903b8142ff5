#pragma once

#include "image/Bitmap.h"
#include "math/Vec3.h"
#include "raster/PixelOps.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace zov {

// A line of the 2D line effects: start and end point and a colour.
class ColouredPoint {
public:
    ColouredPoint() = default;
    ColouredPoint(const Vec3& start, const Vec3& end, std::uint32_t colour) : start_(start), end_(end), colour_(colour)
    {
    }

    // The colour stays.
    void set(const Vec3& start, const Vec3& end)
    {
        start_ = start;
        end_ = end;
    }
    Vec3 start() const { return start_; }
    Vec3 end() const { return end_; }
    std::uint32_t colour() const { return colour_; }

    // Adds colour (per byte, saturating) to every pixel of the line from
    // (x0, y0) to (x1, y1), both ends included. The line is not clipped in
    // advance: points outside the target are skipped one by one.
    static void drawLine(int x0, int y0, int x1, int y1, std::uint32_t colour, Bitmap& target)
    {
        if (!target.hasStorage())
            return;
        // 64 bits: the ends may lie anywhere an int reaches.
        const std::int64_t dx = std::int64_t{x1} - x0;
        const std::int64_t dy = std::int64_t{y1} - y0;
        const int sx = (dx > 0) - (dx < 0);
        const int sy = (dy > 0) - (dy < 0);
        const std::int64_t adx = std::llabs(dx);
        const std::int64_t ady = std::llabs(dy);
        // A tie walks along y.
        const bool alongX = adx > ady;
        const std::int64_t longSide = alongX ? adx : ady;
        const std::int64_t shortSide = alongX ? ady : adx;
        const int straightX = alongX ? sx : 0;
        const int straightY = alongX ? 0 : sy;
        const int w = target.width();
        const int h = target.height();
        if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h && x1 >= 0 && x1 < w && y1 >= 0 && y1 < h) {
            // Both ends inside, so every point is: the same walk on a pointer.
            const std::ptrdiff_t pitch = target.width();
            const std::ptrdiff_t diagonal = sy * pitch + sx;
            const std::ptrdiff_t straight = straightY * pitch + straightX;
            std::uint32_t* p = target.row(y0) + x0;
            const int longPixels = static_cast<int>(longSide);
            const int shortPixels = static_cast<int>(shortSide);
            int acc = longPixels / 2;
            // Without a branch: which way the walk turns is a coin toss.
            const std::ptrdiff_t turn = diagonal - straight;
            for (int i = 0; i <= longPixels; ++i) {
                *p = pixelops::addSaturate(*p, colour);
                acc += shortPixels;
                const int over = -static_cast<int>(acc >= longPixels);
                acc -= longPixels & over;
                p += straight + (turn & over);
            }
            return;
        }
        std::int64_t x = x0;
        std::int64_t y = y0;
        std::int64_t acc = longSide / 2;
        const std::int64_t turnX = sx - straightX;
        const std::int64_t turnY = sy - straightY;
        for (std::int64_t i = 0; i <= longSide; ++i) {
            if (x >= 0 && x < w && y >= 0 && y < h) {
                std::uint32_t& p = target.row(static_cast<int>(y))[x];
                p = pixelops::addSaturate(p, colour);
            }
            acc += shortSide;
            const std::int64_t over = -static_cast<std::int64_t>(acc >= longSide);
            acc -= longSide & over;
            x += straightX + (turnX & over);
            y += straightY + (turnY & over);
        }
    }

private:
    Vec3 start_;
    Vec3 end_;
    std::uint32_t colour_ = 0xFF00;
};

} // namespace zov
