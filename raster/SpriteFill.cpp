// Additive screen-aligned sprites, shown or hidden as a whole by one depth
// test at their centre pixel.
#include "image/Bitmap.h"
#include "raster/FillTarget.h"
#include "raster/FixedPoint.h"
#include "raster/NewRenderDriver.h"
#include "raster/PixelOps.h"
#include "raster/Sprite.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zov {

namespace {

// Targets narrower than this draw each sprite as one white pixel.
constexpr int kSinglePixelBelowWidth = 170;

// dst[i] = saturating dst[i] + src[u >> 16], u stepping by du. u stays below
// the image width in 16.16, so 32 bits hold it.
void addRow(std::uint32_t* dst, int count, const std::uint32_t* src, std::uint32_t u, std::uint32_t du)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4) {
        const __m128i s =
            _mm_set_epi32(static_cast<int>(src[(u + 3 * du) >> 16]), static_cast<int>(src[(u + 2 * du) >> 16]),
                          static_cast<int>(src[(u + du) >> 16]), static_cast<int>(src[u >> 16]));
        __m128i* p = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(p, _mm_adds_epu8(_mm_loadu_si128(p), s));
        u += 4 * du;
    }
#endif
    for (; i < count; ++i, u += du)
        dst[i] = pixelops::addSaturate(dst[i], src[u >> 16]);
}

} // namespace

void NewRenderDriver::drawSprite(const Sprite& sprite, Bitmap& target, int stamp)
{
    FillTarget t;
    const double z = sprite.position.z;
    if (!bindTarget(target, stamp, t) || !(z > -0.05))
        return;
    if (width_ < kSinglePixelBelowWidth) {
        drawSinglePixelSprite(sprite, target, stamp);
        return;
    }
    const Bitmap* image = sprite.image;
    if (static_cast<float>(z) < 2.0f || !image || !image->hasStorage() ||
        (image->width() != 256 && image->width() != 64) || image->height() <= 0)
        return;
    const std::int64_t w = fixed::truncate(sprite.size.x * width_ / z);
    const std::int64_t h = fixed::truncate(sprite.size.y * width_ / z);
    if (w < 2 || h < 2)
        return;
    const std::int64_t cx = fixed::truncate(sprite.position.x * zoom * width_ / z) + (width_ >> 1);
    const std::int64_t cy = (height_ >> 1) - fixed::truncate(sprite.position.y * zoom * width_ / z);
    std::int64_t left = cx - (w >> 1);
    std::int64_t top = cy - (h >> 1);
    if (left >= width_ - 1 || top >= height_ - 1 || left + w < 1 || top + h < 1)
        return;
    const std::int64_t du = (std::int64_t{image->width()} << 16) / w;
    const std::int64_t dv = (std::int64_t{image->height()} << 16) / h;

    const std::int64_t mx = left + (w >> 1), my = top + (h >> 1);
    if (mx < 0 || mx >= width_ || my < 0 || my >= height_)
        return;
    if (static_cast<double>(t.depth[my * width_ + mx]) > stamp + 1.0 / z)
        return;

    // Clipped: -left < w and -top < h, so u and v stay inside the image.
    std::int64_t u0 = 0, v = 0, drawW = w, drawH = h;
    if (left < 0) {
        u0 = -left * du;
        drawW = left + w;
        left = 0;
    }
    if (top < 0) {
        v = -top * dv;
        drawH = top + h;
        top = 0;
    }
    drawW = std::min<std::int64_t>(drawW, width_ - left);
    drawH = std::min<std::int64_t>(drawH, height_ - top);

    const std::uint32_t* texels = image->pixels();
    const int imageWidth = image->width();
    for (std::int64_t row = 0; row < drawH; ++row, v += dv) {
        std::uint32_t* dst = t.pixels + static_cast<std::size_t>(top + row) * width_ + left;
        const std::uint32_t* src = texels + static_cast<std::size_t>(v >> 16) * imageWidth;
        addRow(dst, static_cast<int>(drawW), src, static_cast<std::uint32_t>(u0), static_cast<std::uint32_t>(du));
    }
}

// Small targets: the sprite is one white pixel at its projected centre,
// behind the same depth test.
void NewRenderDriver::drawSinglePixelSprite(const Sprite& sprite, Bitmap& target, int stamp)
{
    const double z = sprite.position.z;
    const double px = sprite.position.x * zoom * width_ / z;
    const double py = std::floor(sprite.position.y * zoom * width_ / z);
    if (!std::isfinite(px) || !std::isfinite(py))
        return;
    const std::int64_t x = fixed::truncate(px) + (width_ >> 1);
    const std::int64_t y = (height_ >> 1) - fixed::truncate(py);
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return;
    if (static_cast<double>(depthBuffer_[y * width_ + x]) > stamp + 1.0 / z)
        return;
    target.setPixel(static_cast<int>(x), static_cast<int>(y), 0xFFFFFFu);
}

} // namespace zov
