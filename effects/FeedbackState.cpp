#include "effects/FeedbackState.h"

#include "image/Bitmap.h"

#include <algorithm>

namespace zov {

std::size_t bitmapStateWords(const Bitmap* bitmap)
{
    return 2 + (bitmap && bitmap->hasStorage() ? bitmap->pixelCount() : 0);
}

void saveBitmapState(const Bitmap* bitmap, std::uint32_t*& out)
{
    if (!bitmap || !bitmap->hasStorage()) {
        *out++ = 0;
        *out++ = 0;
        return;
    }
    *out++ = static_cast<std::uint32_t>(bitmap->width());
    *out++ = static_cast<std::uint32_t>(bitmap->height());
    out = std::copy(bitmap->pixels(), bitmap->pixels() + bitmap->pixelCount(), out);
}

void loadBitmapState(std::unique_ptr<Bitmap>& bitmap, const std::uint32_t*& in)
{
    const auto width = static_cast<int>(*in++);
    const auto height = static_cast<int>(*in++);
    if (width == 0 || height == 0) {
        if (bitmap && bitmap->hasStorage())
            bitmap->fill(0);
        return;
    }
    if (!bitmap || bitmap->width() != width || bitmap->height() != height)
        bitmap = std::make_unique<Bitmap>(width, height);
    std::copy(in, in + bitmap->pixelCount(), bitmap->pixels());
    in += bitmap->pixelCount();
}

} // namespace zov
