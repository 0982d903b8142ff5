#include "effects/FeedbackBlur.h"

#include "image/Bitmap.h"

#include <cstddef>

namespace zov {

namespace {

constexpr std::uint32_t kQuarter = 0x3f3f3f3fu;
constexpr std::uint32_t kHalf = 0x7f7f7f7fu;

bool blurrable(const Bitmap& b) { return b.hasStorage() && b.width() > 0 && b.height() > 2; }

} // namespace

namespace blurref {

void threeNeighbour(std::uint32_t* pixels, int width, int height)
{
    const std::ptrdiff_t w = width;
    for (int y = 1; y < height - 1; ++y) {
        std::uint32_t* p = pixels + y * w;
        for (std::ptrdiff_t x = 0; x < w; ++x)
            p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 1) & kHalf);
        p[0] = 0;
    }
}

void fourNeighbour(std::uint32_t* pixels, int width, int height)
{
    const std::ptrdiff_t w = width;
    for (int y = 1; y < height - 1; ++y) {
        std::uint32_t* p = pixels + y * w;
        for (std::ptrdiff_t x = 0; x < w; ++x)
            p[x] = ((p[x - w] >> 2) & kQuarter) + ((p[x + w] >> 2) & kQuarter) + ((p[x - 1] >> 2) & kQuarter) +
                   ((p[x + 1] >> 2) & kQuarter);
        p[0] = 0;
    }
}

} // namespace blurref

void feedbackBlur(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurref::threeNeighbour(bitmap.pixels(), bitmap.width(), bitmap.height());
}

void feedbackBlur4(Bitmap& bitmap)
{
    if (blurrable(bitmap))
        blurref::fourNeighbour(bitmap.pixels(), bitmap.width(), bitmap.height());
}

} // namespace zov
