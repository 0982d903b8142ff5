#include "image/Bitmap.h"

#include "image/ReleaseLines.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>

namespace zov {

namespace {
// 64-byte rows starts let the SSE2 loops use aligned loads where they can.
constexpr std::align_val_t kPixelAlignment{64};
std::atomic<std::uint64_t> gAllocatedBytes{0};
std::atomic<std::uint64_t> gAllocatedCount{0};
} // namespace

void Bitmap::AlignedFree::operator()(std::uint32_t* p) const
{
    ::operator delete[](p, kPixelAlignment);
}

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0))
{
    const std::size_t bytes = pixelCount() * sizeof(std::uint32_t);
    // Always allocate (even 0 pixels) so "has storage" means "was sized".
    auto* p = static_cast<std::uint32_t*>(::operator new[](std::max<std::size_t>(bytes, 4), kPixelAlignment));
    std::memset(p, 0, std::max<std::size_t>(bytes, 4));
    pixels_.reset(p);
    gAllocatedBytes += bytes;
    gAllocatedCount += 1;
}

Bitmap::~Bitmap()
{
    pixels_.reset();
    announceRelease("deallocated internal Bitmap buffer \n");
}

void Bitmap::setSize(int width, int height)
{
    if (!pixels_) {
        width_ = width;
        height_ = height;
    }
}

void Bitmap::setPixel(int x, int y, std::uint32_t value)
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
        pixels_[static_cast<std::size_t>(y) * width_ + x] = value;
}

std::uint32_t Bitmap::pixel(int x, int y) const
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    return 0;
}

void Bitmap::fill(std::uint32_t value)
{
    if (pixels_)
        std::fill_n(pixels_.get(), pixelCount(), value);
}

std::uint64_t Bitmap::allocatedBytes() { return gAllocatedBytes; }
std::uint64_t Bitmap::allocatedCount() { return gAllocatedCount; }

} // namespace zov
