#include "image/Bitmap.h"
#include "image/PixelMath.h"
#include "image/PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// The sampling operations: the scrolling blit and the resampler.
namespace zov {

namespace {

// x mod m into 0..m-1, negative x too (m > 0).
std::int64_t wrapInto(std::int64_t x, std::int64_t m)
{
    const std::int64_t r = x % m;
    return r < 0 ? r + m : r;
}

void putSpan(std::uint32_t* dst, const std::uint32_t* src, int n, bool additive)
{
    if (additive)
        rows::add(dst, src, n);
    else
        std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
}

void putRepeated(std::uint32_t* dst, std::uint32_t value, int n, bool additive)
{
    for (int i = 0; i < n; ++i)
        dst[i] = additive ? pixel::saturatingAdd(value, dst[i]) : value;
}

// One destination row of cols pixels from source row src (width w), the
// first sampled column being u0.
void scrollRow(std::uint32_t* dst, const std::uint32_t* src, int w, std::int64_t u0, int cols, bool wrap,
               bool additive)
{
    int i = 0;
    if (wrap) {
        std::int64_t u = wrapInto(u0, w);
        while (i < cols) {
            const int span = static_cast<int>(std::min<std::int64_t>(cols - i, w - u));
            putSpan(dst + i, src + u, span, additive);
            i += span;
            u = 0;
        }
        return;
    }
    // Clamped: the first column repeated, the columns in range, the last repeated.
    if (u0 < 0) {
        const int lead = static_cast<int>(std::min<std::int64_t>(cols, -u0));
        putRepeated(dst, src[0], lead, additive);
        i = lead;
    }
    const std::int64_t u = std::max<std::int64_t>(u0, 0);
    if (i < cols && u < w) {
        const int span = static_cast<int>(std::min<std::int64_t>(cols - i, w - u));
        putSpan(dst + i, src + u, span, additive);
        i += span;
    }
    putRepeated(dst + i, src[w - 1], cols - i, additive);
}

} // namespace

void Bitmap::blitScroll(Bitmap& dest, int dx, int dy, int sx, int sy, bool wrap, bool additive) const
{
    const int w = width();
    const int h = height();
    if (!hasStorage() || !dest.hasStorage() || w <= 0 || h <= 0)
        return;
    const std::int64_t skipX = std::max<std::int64_t>(-std::int64_t{dx}, 0);
    const std::int64_t skipY = std::max<std::int64_t>(-std::int64_t{dy}, 0);
    const std::int64_t cols = std::min<std::int64_t>(w - skipX, dest.width() - std::max(dx, 0));
    const std::int64_t rowCount = std::min<std::int64_t>(h - skipY, dest.height() - std::max(dy, 0));
    if (cols <= 0 || rowCount <= 0)
        return;
    const int x0 = std::max(dx, 0);
    const int y0 = std::max(dy, 0);
    for (int r = 0; r < rowCount; ++r) {
        const std::int64_t v0 = std::int64_t{sy} + skipY + r;
        const std::int64_t v = wrap ? wrapInto(v0, h) : std::clamp<std::int64_t>(v0, 0, h - 1);
        scrollRow(dest.row(y0 + r) + x0, row(static_cast<int>(v)), w, std::int64_t{sx} + skipX,
                  static_cast<int>(cols), wrap, additive);
    }
}

namespace {

// One axis of a sample point: the lower and upper neighbour (clamped to the
// picture, as enlarging puts the upper one just past the last column or
// row) and the distances that weigh them.
struct Axis {
    int lo;
    int hi;
    float toLo; // sample - floor
    float toHi; // ceil - sample
    bool whole;
};

Axis sampleAxis(float s, int size)
{
    const float f = std::floor(s);
    const float c = std::ceil(s);
    Axis a;
    a.lo = std::clamp(static_cast<int>(f), 0, size - 1);
    a.hi = std::clamp(static_cast<int>(c), 0, size - 1);
    a.toLo = s - f;
    a.toHi = c - s;
    a.whole = s == f;
    return a;
}

// Each neighbour's byte times its weight, truncated, then summed.
std::uint32_t weighCorners(const std::uint32_t p[4], const float wgt[4])
{
    std::uint32_t out = 0;
    for (int k = 0; k < 3; ++k) {
        int sum = 0;
        for (int n = 0; n < 4; ++n)
            if (wgt[n] != 0.0f)
                sum += static_cast<int>(static_cast<float>(pixel::byteAt(p[n], k)) * wgt[n]);
        out |= static_cast<std::uint32_t>(std::min(sum, 255)) << (8 * k);
    }
    return out;
}

} // namespace

void Bitmap::scaleTo(Bitmap& dest) const
{
    const int srcW = width();
    const int srcH = height();
    const int w = dest.width();
    const int h = dest.height();
    if (!hasStorage() || !dest.hasStorage() || srcW <= 0 || srcH <= 0 || w <= 0 || h <= 0)
        return;
    const float xRatio = static_cast<float>(srcW) / static_cast<float>(w);
    const float yRatio = static_cast<float>(srcH) / static_cast<float>(h);
    for (int y = 0; y < h; ++y) {
        const Axis ay = sampleAxis(static_cast<float>(y) * yRatio, srcH);
        const std::uint32_t* rowLo = row(ay.lo);
        const std::uint32_t* rowHi = row(ay.hi);
        std::uint32_t* out = dest.row(y);
        for (int x = 0; x < w; ++x) {
            const Axis ax = sampleAxis(static_cast<float>(x) * xRatio, srcW);
            // P00, P10, P01, P11, each weighed by its own distances from the
            // sample point (not the usual bilinear weights): kept, as the
            // show's resampled pictures depend on them.
            const std::uint32_t p[4] = {rowLo[ax.lo], rowLo[ax.hi], rowHi[ax.lo], rowHi[ax.hi]};
            float wgt[4] = {1.0f, 0.0f, 0.0f, 0.0f};
            if (!ax.whole && !ay.whole) {
                wgt[0] = ax.toLo * ay.toLo;
                wgt[1] = ax.toHi * ay.toLo;
                wgt[2] = ax.toLo * ay.toHi;
                wgt[3] = ax.toHi * ay.toHi;
            } else if (!ay.whole) {
                wgt[0] = ay.toLo;
                wgt[2] = ay.toHi;
            } else if (!ax.whole) {
                wgt[0] = ax.toLo;
                wgt[1] = ax.toHi;
            }
            out[x] = weighCorners(p, wgt);
        }
    }
}

} // namespace zov
